#!/usr/bin/env bash
# Times whole quorvex-cli processes for the reader's options (--normalize, --phrase,
# --french-form, --side french, --collocates, --plot) on the real New Testament scaled up:
# copies of ../shared/corpus whose markers are renumbered ([k.B.C.V] in copy k) until the
# Latin text reaches MEGABYTES. Each is set against one pass of `LC_ALL=C wc -w` over the
# files it reads (objective: within 2x).
#
#   bench/reader.sh [BUILD_DIR] [MEGABYTES] [CORPUS_DIR]   (defaults: build, 5, ../shared/corpus)
set -euo pipefail

corpus=${3:-$(cd "$(dirname "$0")/../.." && pwd)/shared/corpus}
source "$(dirname "$0")/timing.sh" "$@"

[[ -r $corpus/latin-nt.txt && -r $corpus/francais-nt.txt ]] \
    || { echo "reader.sh : pas de corpus dans $corpus (troisième argument)." >&2; exit 1; }
latin="$work/latin.txt"
french="$work/francais.txt"
: >"$latin"
: >"$french"
copies=0
while (( $(stat -c %s "$latin") < megabytes * 1000000 )); do
    copies=$((copies + 1))
    sed "s/\[/[$copies./" "$corpus/latin-nt.txt" >>"$latin"
    sed "s/\[/[$copies./" "$corpus/francais-nt.txt" >>"$french"
done
cat "$latin" "$french" >/dev/null  # in the page cache
echo "Textes : $copies copies, latin $(stat -c %s "$latin") octets, français $(stat -c %s "$french") octets"

floor_latin=$(best_ms wc -w "$latin")
floor_french=$(best_ms wc -w "$french")
floor_both=$(best_ms wc -w "$latin" "$french")
echo "Planchers wc -w : latin ${floor_latin} ms, français ${floor_french} ms, les deux ${floor_both} ms"

row() {  # row LABEL FLOOR_NAME FLOOR_MS ARGS...
    local label=$1 floor_name=$2 floor=$3
    shift 3
    local took
    took=$(best_ms "$cli" "$@")
    printf '%-44s %8s ms ; plancher %-8s %7s ms ; rapport %s (objectif <= 2)\n' \
        "$label" "$took" "$floor_name" "$floor" "$(ratio "$took" "$floor")"
}

row "--count Deus (sans option, repère)" latin "$floor_latin" --latin "$latin" --count Deus
row "--normalize --count caelum" latin "$floor_latin" --latin "$latin" --normalize --count caelum
row "--normalize --count 'c*'" latin "$floor_latin" --latin "$latin" --normalize --count 'c*'
row "--phrase --count 'filius dei'" latin "$floor_latin" --latin "$latin" --phrase --count 'filius dei'
row "--normalize --phrase --count '* et'" latin "$floor_latin" --latin "$latin" --normalize --phrase --count '* et'
row "--french-form 'seigneur*' --count Deus" "les deux" "$floor_both" \
    --latin "$latin" --french "$french" --french-form 'seigneur*' --count Deus
row "--side french --count charité" français "$floor_french" \
    --latin "$latin" --french "$french" --side french --count charité
row "--collocates 5 Deus" latin "$floor_latin" --latin "$latin" --collocates 5 Deus
row "--normalize --collocates 50 et" latin "$floor_latin" --latin "$latin" --normalize --collocates 50 et
row "--plot Deus" latin "$floor_latin" --latin "$latin" --plot "$work/deus.svg" Deus
row "--plot et" latin "$floor_latin" --latin "$latin" --plot "$work/et.svg" et
