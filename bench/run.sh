#!/usr/bin/env bash
# Whole quorvex-cli runs on the real New Testament scaled up (bench/scale-corpus.sh), each
# against its floor measured in the same run: one pass of `LC_ALL=C wc -w` over the same files
# (for the result file, over both texts, plus copying the output once). Prints the time ratios
# and the peak resident memory beside their targets, then the text of stray "]", the core's
# search and sort of every word, and the benchmarks on generated text (bench/generated.sh).
#
#   bench/run.sh [BUILD_DIR] [COPIES...]     (defaults: build, 5 50: about 5 MB and 50 MB)
#   QUORVEX_CORPUS=DIR to take the corpus elsewhere than ../shared/corpus.
set -euo pipefail

here=$(dirname "$0")
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(5 50)
source "$here/timing.sh" "$build"
corpus=${QUORVEX_CORPUS:-$here/../../shared/corpus}

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
verdict() { awk -v v="$1" -v max="$2" 'BEGIN { print (v <= max ? "tenu" : "MANQUÉ") }'; }

for copies in "${sizes[@]}"; do
    dir="$work/x$copies"
    "$here/scale-corpus.sh" "$dir" "$copies" "$corpus"
    latin="$dir/latin.txt"
    french="$dir/francais.txt"
    cat "$latin" "$french" >/dev/null  # both texts in the page cache
    latin_bytes=$(stat -c %s "$latin")
    words=$("$cli" --latin "$latin" --count '*')
    echo "== Corpus réel x$copies : latin $latin_bytes octets ($words mots), français $(stat -c %s "$french") octets"

    floor=$(best_ms wc -w "$latin")
    for query in 'a*' '*'; do
        target=1.2
        [[ $query == '*' ]] && target=1.5
        took=$(best_ms "$cli" --latin "$latin" --count "$query")
        r=$(ratio "$took" "$floor")
        printf "%-34s %8s ms ; plancher wc -w %8s ms ; rapport %s (objectif <= %s) %s\n" \
            "--count '$query'" "$took" "$floor" "$r" "$target" "$(verdict "$r" "$target")"
    done

    result_job() { "$cli" --latin "$latin" --french "$french" --sort forms --date x --output "$dir/et.txt" et; }
    floor_job() { wc -w "$latin" "$french" && cp "$dir/et.txt" "$dir/copie.txt"; }
    result_job
    took=$(best_ms result_job)
    floor=$(best_ms floor_job)
    r=$(ratio "$took" "$floor")
    printf "%-34s %8s ms ; plancher wc -w + cp %s ms ; rapport %s (objectif <= 2.0) %s\n" \
        "résultat « et » --french --sort forms" "$took" "$floor" "$r" "$(verdict "$r" 2.0)"
    echo "   (fichier de $(stat -c %s "$dir/et.txt") octets)"

    # --count reads the text once and keeps no word table; --list keeps the table and the
    # list of the words found, the memory of the window's search.
    limit_kb=$(( latin_bytes * 5 / 2 / 1024 + 8 * 1024 ))
    for run in "--count et" "--count *" "--list quorvexus" "--list *"; do
        limit=$limit_kb
        [[ $run == *'*' ]] && limit=$(( limit_kb + words * 16 / 1024 ))
        read -ra words_of_run <<<"$run"  # no file-name expansion of the "*"
        kb=$(peak_kb "$cli" --latin "$latin" "${words_of_run[@]}")
        printf "%-34s %8s Mo ; plafond %s Mo %s\n" "mémoire de pointe $run" \
            "$(mb "$kb")" "$(mb "$limit")" "$(verdict "$kb" "$limit")"
    done
done

echo "== Texte de 700 Ko : « [1] » puis « amor ] » x 100 000"
stray="$work/crochets.txt"
{ printf '[1] '; for ((i = 0; i < 100000; i++)); do printf 'amor ] '; done; } >"$stray"
took=$(best_ms "$cli" --latin "$stray" --count amor)
kb=$(peak_kb "$cli" --latin "$stray" --count amor)
echo "--count amor : $took ms (objectif < 2000) ; mémoire de pointe $(mb "$kb") Mo (objectif < 64)"
# The same text cut into its word table (100 000 references, each one "]" longer), nothing
# listed: the table's memory stays linear in the text.
took=$(best_ms "$cli" --latin "$stray" --list quorvexus)
kb=$(peak_kb "$cli" --latin "$stray" --list quorvexus)
echo "--list quorvexus (table de mots) : $took ms ; mémoire de pointe $(mb "$kb") Mo"

core_bench="$build/bench/quorvex_core_bench"
if [[ -x $core_bench ]]; then
    echo "== Le cœur sur le corpus réel x5 : « * » cherché puis trié par forme (CPU)"
    "$here/scale-corpus.sh" "$work/x5" 5 "$corpus"
    QUORVEX_REAL_LATIN="$work/x5/latin.txt" "$core_bench" --benchmark_filter='Real' \
        --benchmark_min_time=0.5 2>/dev/null | grep -E '^BM_'
fi

grid_bench="$build/bench/quorvex_grid_bench"
if [[ -x $grid_bench ]]; then
    echo "== La fenêtre de recherche sur le corpus réel x5 (colonne CPU ; objectifs : « * » < 200 ms, « Formes » < 300 ms)"
    "$here/scale-corpus.sh" "$work/x5" 5 "$corpus"
    QUORVEX_BENCH_LATIN="$work/x5/latin.txt" QUORVEX_BENCH_FRENCH="$work/x5/francais.txt" \
        "$grid_bench" 2>/dev/null | grep -E '^BM_'
fi

echo "== Textes générés"
"$here/generated.sh" "$build" 5
