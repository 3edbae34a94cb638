#!/usr/bin/env bash
# The real New Testament pair scaled up: COPIES copies of each text one after the other, the
# markers of copy k renumbered [k.B.C.V], so that a larger text keeps the shape of a real one
# (one marker per verse, real word lengths and accents, CR LF).
#
#   bench/scale-corpus.sh OUT_DIR COPIES [CORPUS_DIR]
#   writes OUT_DIR/latin.txt and OUT_DIR/francais.txt
set -euo pipefail

out=${1:?dossier de sortie}
copies=${2:?nombre de copies}
corpus=${3:-$(dirname "$0")/../../shared/corpus}
[[ -f $corpus/latin-nt.txt && -f $corpus/francais-nt.txt ]] \
    || { echo "$(basename "$0") : corpus introuvable dans $corpus" >&2; exit 1; }

mkdir -p "$out"
for lang in latin francais; do
    for ((k = 1; k <= copies; k++)); do
        LC_ALL=C sed "s/\[/[$k./g" "$corpus/$lang-nt.txt"
    done >"$out/$lang.txt"
done
