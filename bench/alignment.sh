#!/usr/bin/env bash
# The word alignment's cost on the real New Testament pair scaled up (bench/scale-corpus.sh;
# x4 is a Bible's size, about 31,800 verse pairs): the same run with and without the alignment,
# --translations (which learns it) against --french-lemma (which reads and stems the French text
# the same way, without aligning), as whole processes, medians of $runs runs beside one pass of
# `LC_ALL=C wc -w` over both texts, and the peak memory of each (GNU time's maximum resident set).
# Objective: the alignment adds < 5 s and < 100 MB at a Bible's size.
#
#   bench/alignment.sh [BUILD_DIR] [COPIES...]     (defaults: build, 1 4)
#   QUORVEX_CORPUS=DIR to take the corpus elsewhere than ../shared/corpus; BIBLE_DIR=DIR adds
#   the tenth of the pair with a whole Bible's vocabulary that bench/run.sh keeps there.
# Each size is also measured with one marker a chapter (a passage of hundreds of words, which
# the alignment cuts where its sentences meet).
set -euo pipefail

here=$(dirname "$0")
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1 4)
source "$here/timing.sh" "$build"
[[ -x /usr/bin/time ]] || { echo "alignment.sh : /usr/bin/time manque (paquet time)." >&2; exit 1; }
corpus=${QUORVEX_CORPUS:-$here/../../shared/corpus}
runs=${RUNS:-5}

echo "== $(nproc) cœurs, charge $(cut -d' ' -f1-3 /proc/loadavg) ; médianes de $runs exécutions"
# measure LABEL LATIN FRENCH [OPTION...] -- LATIN_FORM FRENCH_LEMMA
measure() {
    local label=$1 latin=$2 french=$3
    shift 3
    local options=()
    while [[ $1 != -- ]]; do options+=("$1"); shift; done
    local form=$2 lemma=$3
    cat "$latin" "$french" >/dev/null  # both texts in the page cache
    # Without the cache folder: a warm run would read the alignment back instead of training it.
    local aligned=("$cli" --latin "$latin" --french "$french" --no-cache "${options[@]}" --translations "$form")
    local plain=("$cli" --latin "$latin" --french "$french" --no-cache "${options[@]}" --french-lemma "$lemma" --count "$form")
    local floor with without
    floor=$(median_ms wc -w "$latin" "$french")
    with=$(median_ms "${aligned[@]}")
    without=$(median_ms "${plain[@]}")
    echo "$label : $(grep -c '^\[' "$latin") passages, latin $(stat -c %s "$latin") octets, français $(stat -c %s "$french") octets"
    echo "  ${plain[*]}"
    echo "  ${aligned[*]}"
    printf '  %-46s %9s ms\n' "wc -w latin français (plancher)" "$floor"
    printf '  %-46s %9s ms ; %6s Mo au plus\n' "--french-lemma (lemmes, sans alignement)" "$without" "$(peak_mb "${plain[@]}")"
    printf '  %-46s %9s ms ; %6s Mo au plus\n' "--translations (lemmes et alignement)" "$with" "$(peak_mb "${aligned[@]}")"
    awk -v a="$with" -v b="$without" 'BEGIN { printf "  %-46s %9.1f ms\n", "coût de l'\''alignement", a - b }'
}

for copies in "${sizes[@]}"; do
    dir="$work/x$copies"
    "$here/scale-corpus.sh" "$dir" "$copies" "$corpus"
    measure "x$copies" "$dir/latin.txt" "$dir/francais.txt" -- Deus dieu
    # [k.B.C.V] becomes [k.B.C] before a chapter's first verse, and nothing before the others.
    for lang in latin francais; do
        LC_ALL=C perl -pe 's/\[(\d+\.\d+\.\d+)\.(\d+)\]\s*/$2 == 1 ? "[$1] " : ""/ge' "$dir/$lang.txt" >"$dir/$lang-chapitres.txt"
    done
    measure "x$copies, un repère par chapitre" "$dir/latin-chapitres.txt" "$dir/francais-chapitres.txt" -- Deus dieu
done
# The first tenth of the pair with a whole Bible's vocabulary (bench/run.sh writes it there).
if [[ -n ${BIBLE_DIR:-} && -f $BIBLE_DIR/latin-10.txt && -f $BIBLE_DIR/francais-10.txt ]]; then
    measure "vocabulaire d'une Bible, un dixième" "$BIBLE_DIR/latin-10.txt" "$BIBLE_DIR/francais-10.txt" --lemma -- dico dire
fi
