#!/usr/bin/env bash
# --translations on the real New Testament pair scaled up (bench/scale-corpus.sh), against one
# pass of `LC_ALL=C wc -w` over both texts in the same run (objective: within 3x), and the
# fixed cost of the French lemmas: the same run at x1 and at the largest size with the system's
# French dictionary, then with a dictionary of one word (its loading and the stemming of every
# distinct French word are what the difference measures). Medians of $runs runs.
#
#   bench/translations.sh [BUILD_DIR] [COPIES...]     (defaults: build, 1 50)
#   QUORVEX_CORPUS=DIR to take the corpus elsewhere than ../shared/corpus.
set -euo pipefail

here=$(dirname "$0")
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1 50)
source "$here/timing.sh" "$build"
corpus=${QUORVEX_CORPUS:-$here/../../shared/corpus}

# A lemma query where the lexicon is there, else the form.
query=(Deus)
if "$cli" --help | grep -q '^  --lemma'; then query=(--lemma deus); fi
printf 'SET UTF-8\n' >"$work/un.aff"
printf '1\nmot\n' >"$work/un.dic"

echo "== quorvex-cli --translations ${query[*]} ; médianes de $runs exécutions"
for copies in "${sizes[@]}"; do
    dir="$work/x$copies"
    "$here/scale-corpus.sh" "$dir" "$copies" "$corpus"
    latin="$dir/latin.txt"
    french="$dir/francais.txt"
    cat "$latin" "$french" >/dev/null  # both texts in the page cache
    run() { "$cli" --latin "$latin" --french "$french" --translations "${query[@]}" "$@"; }
    floor=$(median_ms wc -w "$latin" "$french")
    took=$(median_ms run)
    bare=$(median_ms run --dictionary "$work/un.dic")
    r=$(ratio "$took" "$floor")
    echo "x$copies : latin $(stat -c %s "$latin") octets, français $(stat -c %s "$french") octets"
    printf '  %-44s %8s ms\n' "wc -w latin français (plancher)" "$floor"
    printf '  %-44s %8s ms ; rapport %s (objectif <= 3)\n' "--translations, dictionnaire fr_FR" "$took" "$r"
    printf '  %-44s %8s ms ; rapport %s\n' "--translations, dictionnaire d'un mot" "$bare" "$(ratio "$bare" "$floor")"
    printf '  %-44s %8s ms\n' "coût des lemmes (chargement + racines)" \
        "$(awk -v a="$took" -v b="$bare" 'BEGIN { printf "%.1f", a - b }')"
done
