#!/usr/bin/env bash
# Times whole quorvex-cli processes for the power tools on generated pairs of texts:
# --frequencies '*' and --check against `LC_ALL=C wc -w` over the same files (objective: within
# 3x), and the HTML export of "et" at growing sizes, whose time per attestation must stay flat.
#
#   bench/power.sh [BUILD_DIR] [MEGABYTES]     (defaults: build, 5)
set -euo pipefail

source "$(dirname "$0")/timing.sh" "$@"
need "$gen"

pair() {  # pair DIR MEGABYTES
    mkdir -p "$1"
    "$gen" "$1" "$2"
    cat "$1/latin.txt" "$1/francais.txt" >/dev/null  # in the page cache
}

pair "$work/full" "$megabytes"
latin="$work/full/latin.txt"
french="$work/full/francais.txt"
echo "Textes : latin $(stat -c %s "$latin") octets, français $(stat -c %s "$french") octets"

floor=$(best_ms wc -w "$latin")
took=$(best_ms "$cli" --latin "$latin" --frequencies '*')
echo "--frequencies '*' : ${took} ms ; plancher wc -w (latin) : ${floor} ms ; rapport $(ratio "$took" "$floor") (objectif <= 3)"

floor=$(best_ms wc -w "$latin" "$french")
took=$(best_ms "$cli" --latin "$latin" --french "$french" --check)
echo "--check           : ${took} ms ; plancher wc -w (les deux) : ${floor} ms ; rapport $(ratio "$took" "$floor") (objectif <= 3)"

echo "--format html « et » : le temps par attestation doit rester le même quand la taille croît"
first=
for fraction in 0.25 0.5 1; do
    size=$(awk -v m="$megabytes" -v f="$fraction" 'BEGIN { printf "%g", m * f }')
    dir="$work/html-$size"
    pair "$dir" "$size"
    rows=$("$cli" --latin "$dir/latin.txt" --count et)
    export_job() { "$cli" --latin "$dir/latin.txt" --french "$dir/francais.txt" --format html --output "$dir/et.html" et; }
    export_job
    took=$(best_ms export_job)
    per=$(awk -v ms="$took" -v n="$rows" 'BEGIN { printf "%.2f", ms * 1000 / n }')
    [[ -n $first ]] || first=$per
    echo "  ${size} Mo : ${rows} attestations, $(stat -c %s "$dir/et.html") octets, ${took} ms," \
         "${per} µs par attestation (rapport au plus petit : $(ratio "$per" "$first"))"
done
