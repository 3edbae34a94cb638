#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang under ASan+UBSan and runs each for
# FUZZ_SECONDS (20 by default), seeded with the sample texts. Prints each target's runs.
# FUZZ_TARGETS names the targets to run (all by default).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
build=${FUZZ_BUILD_DIR:-build-fuzz}
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$sanitize -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" \
  -DQUORVEX_BUILD_GUI=OFF -DQUORVEX_BUILD_TESTS=OFF -DQUORVEX_BUILD_BENCH=OFF -DQUORVEX_BUILD_FUZZ=ON \
  -DQUORVEX_HARDENING=OFF >/dev/null
cmake --build "$build" -j2
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
targets=${FUZZ_TARGETS:-fuzz_read_decode fuzz_search fuzz_passages fuzz_outputs fuzz_result_lists fuzz_analyses fuzz_cli_options fuzz_lexicon fuzz_alignment}
for target in $targets; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  cp samples/*.txt "$corpus/"
  printf 'amor\0' | cat - samples/latin.txt >"$corpus/query"
  printf '\x14\x06' | cat - samples/latin.txt >"$corpus/pair" && printf '\0' >>"$corpus/pair" && cat samples/francais.txt >>"$corpus/pair"
  printf -- '--latin\0l.txt\0--output\0o.txt\0--format\0csv\0amor' >"$corpus/args"
  if [ "$target" = fuzz_lexicon ]; then
    # A word, then models, irregular forms, assimilations, contractions, glosses, lemmata.
    printf 'dixitque\0modele:lupus\nR:1:2,0\ndes:1-4:1:\xc5\xadm;\xc4\xab\n\0d\xc4\xabx\xc4\xabt:dico:1\n\0adc:acc\n\0arunt:averunt\n\0Fran\xc3\xa7ais\nlupus:loup\n\0lupus|lupus|||i|3\n' >"$corpus/lexicon"
  fi
  start=$(date +%s)
  if ! TMPDIR="$work" "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=8192 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" "$corpus" \
      >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    mkdir -p "$build/crashes" && cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$build/crashes/" 2>/dev/null || true
    echo "fuzz: $target FAILED (inputs kept in $build/crashes)"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$target.log" | grep -o '[0-9]*$' || echo '?')
  cov=$(grep -o 'cov: [0-9]*' "$work/$target.log" | tail -1 | grep -o '[0-9]*$' || echo '?')
  echo "fuzz: $target $runs runs in $(( $(date +%s) - start )) s, coverage $cov edges, no failure"
done
