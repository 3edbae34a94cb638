#!/usr/bin/env bash
# Search by lemma, whole processes on the New Testament scaled up (bench/scale-corpus.sh),
# against one pass of `LC_ALL=C wc -w` over the same text measured in the same run; then the
# lexicon's read time and peak memory (with and without its extension), and, for the note,
# ten common lemmata counted by lemma beside the count of the lemma's own spelling.
# Medians of RUNS runs (default 7).
#
#   bench/lemma.sh [BUILD_DIR] [COPIES] [CORPUS_DIR]   (defaults: build, 50, ../shared/corpus)
#   QUORVEX_LEXICON=DIR to read the lexicon elsewhere than the build's
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
copies=${2:-50}
corpus=${3:-$here/../../shared/corpus}
source "$here/timing.sh" "$build"
bench="$build/bench/quorvex_lexicon_bench"
need "$bench"
lexicon=${QUORVEX_LEXICON:-$(sed -n 's/^QUORVEX_LEXICON_SOURCE:PATH=//p' "$build/CMakeCache.txt")}
[[ -f $lexicon/lemmes.la ]] || { echo "$(basename "$0") : pas de lexique dans « $lexicon »" >&2; exit 1; }

echo "machine : $(nproc) cœurs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), charge $(cut -d' ' -f1-3 /proc/loadavg)"
echo "construction : $(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt"), $(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt") $(sed -n 's/^CMAKE_CXX_FLAGS_RELEASE:STRING=//p' "$build/CMakeCache.txt") -Wall -Wextra"
echo "médianes de $runs exécutions"

"$here/scale-corpus.sh" "$work/x$copies" "$copies" "$corpus"
latin="$work/x$copies/latin.txt"
cat "$latin" >/dev/null
echo "== Nouveau Testament x$copies : $(stat -c %s "$latin") octets, $(wc -w <"$latin") mots (wc -w)"
floor=$(median_ms wc -w "$latin")
took=$(median_ms "$cli" --latin "$latin" --lexicon "$lexicon" --lemma --count dico)
echo "wc -w $latin : $floor ms"
echo "$cli --latin $latin --lexicon $lexicon --lemma --count dico : $took ms, rapport $(ratio "$took" "$floor") (objectif <= 2), pic $(peak_mb "$cli" --latin "$latin" --lexicon "$lexicon" --lemma --count dico) Mo"
cpu_floor=$(median_cpu_ms wc -w "$latin")
cpu_took=$(median_cpu_ms "$cli" --latin "$latin" --lexicon "$lexicon" --lemma --count dico)
echo "temps processeur : wc -w $cpu_floor ms, --lemma --count dico $cpu_took ms, rapport $(ratio "$cpu_took" "$cpu_floor")"

echo "== Lecture du lexique ($lexicon)"
for ext in "" ext; do
    label=${ext:+avec l\'extension}
    label=${label:-sans l\'extension}
    t=$(median_ms "$bench" --load-once "$lexicon" $ext)
    echo "$bench --load-once $lexicon $ext : $t ms (processus entier), pic $(peak_mb "$bench" --load-once "$lexicon" $ext) Mo ($label)"
done
"$bench" --benchmark_filter=readLexicon --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median'

echo "== Dix lemmes courants sur le Nouveau Testament : par lemme (sans, avec l'extension), la graphie du lemme seule (--count, --normalize --count)"
nt="$corpus/latin-nt.txt"
printf '%-10s %8s %8s %8s %8s\n' lemme lemme +ext --count --normal
for lemma in dico sum fero video Deus facio do venio habeo dominus; do
    by_lemma=$("$cli" --latin "$nt" --lexicon "$lexicon" --lemma --count "$lemma")
    with_ext=$("$cli" --latin "$nt" --lexicon "$lexicon" --lexicon-extension --lemma --count "$lemma")
    plain=$("$cli" --latin "$nt" --count "$lemma")
    spelling=$("$cli" --latin "$nt" --normalize --count "$lemma")
    printf '%-10s %8s %8s %8s %8s\n' "$lemma" "$by_lemma" "$with_ext" "$plain" "$spelling"
done
"$cli" --latin "$nt" --lexicon "$lexicon" --lemma --frequencies 2>&1 >/dev/null | tail -1
"$cli" --latin "$nt" --lexicon "$lexicon" --lemma --lexicon-extension --frequencies 2>&1 >/dev/null | tail -1
