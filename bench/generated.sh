#!/usr/bin/env bash
# Times whole quorvex-cli processes on a generated pair of texts against their floors
# (LC_ALL=C wc -w over the same files; for the result file, that plus copying the output
# once) and prints the ratios, then the peak memory of the word table.
#
#   bench/generated.sh [BUILD_DIR] [MEGABYTES]     (defaults: build, 5)
set -euo pipefail

source "$(dirname "$0")/timing.sh" "$@"
need "$gen"
runs=11

"$gen" "$work" "$megabytes"
latin="$work/latin.txt"
french="$work/francais.txt"
cat "$latin" "$french" >/dev/null  # both texts in the page cache

echo "Textes : latin $(stat -c %s "$latin") octets, français $(stat -c %s "$french") octets"

floor_count=$(best_ms wc -w "$latin")
cli_count=$(best_ms "$cli" --latin "$latin" --count 'a*')
echo "--count 'a*'      : ${cli_count} ms ; plancher wc -w : ${floor_count} ms ; rapport $(ratio "$cli_count" "$floor_count") (objectif <= 1)"

rows=$("$cli" --latin "$latin" --count et)
result_job() { "$cli" --latin "$latin" --french "$french" --date x --output "$work/out.txt" et; }
floor_job() { wc -w "$latin" "$french" && cp "$work/out.txt" "$work/copy.txt"; }
result_job
cli_result=$(best_ms result_job)
floor_result=$(best_ms floor_job)
echo "résultat de « et » (${rows} attestations, $(stat -c %s "$work/out.txt") octets) : ${cli_result} ms ;" \
     "plancher wc -w + cp : ${floor_result} ms ; rapport $(ratio "$cli_result" "$floor_result") (objectif <= 3)"

table_kb=$(/usr/bin/time -f %M "$cli" --latin "$latin" --list quorvexus 2>&1 >/dev/null | tail -1)
all_kb=$(/usr/bin/time -f %M "$cli" --latin "$latin" --list '*' 2>&1 >/dev/null | tail -1)
echo "mémoire de pointe : table de mots $(( table_kb / 1024 )) Mo (objectif < 100) ;" \
     "table + liste de tous les mots (« * ») $(( all_kb / 1024 )) Mo"

# The power tools (frequencies, reference check, HTML export), in a script of their own.
"$(dirname "$0")/power.sh" "$build" "$megabytes"
