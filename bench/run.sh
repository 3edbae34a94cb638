#!/usr/bin/env bash
# Whole quorvex-cli runs on the real New Testament scaled up (bench/scale-corpus.sh), each
# against its floor timed in the same run, turn about with it: one pass of `LC_ALL=C wc -w`
# over the same files (plus writing or copying the output when the command writes one).
# Prints the machine, the build, every command line, the medians of the wall and CPU times,
# the ratios of the wall medians beside their targets (read at 50 copies), the peak memory of
# a count, `grep -c -w -i` beside `wc -w`, and the search window's "*" and "Formes".
#
#   bench/run.sh [BUILD_DIR] [COPIES...]     (defaults: build, 20 50 100)
#   QUORVEX_CORPUS=DIR to take the corpus elsewhere than ../shared/corpus;
#   RUNS=N timings of each command (default 5); GRID=0 leaves the window out; BIBLE=0 leaves
#   out the pair with a whole Bible's vocabulary, BIBLE_DIR=DIR keeps it there between runs.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(20 50 100)
source "$here/timing.sh" "$build"
runs=${RUNS:-5}
# ../shared beside the main checkout, also from a worktree of it.
# The common git folder asked for as an absolute path: a relative answer is relative to $here,
# not to the caller's folder.
main_checkout=$(cd "$(git -C "$here" rev-parse --path-format=absolute --git-common-dir 2>/dev/null \
                       || echo "$here/../.git")/.." && pwd)
corpus=${QUORVEX_CORPUS:-$main_checkout/../shared/corpus}
target_copies=50

# --- The machine and the build -------------------------------------------------------------
cache="$build/CMakeCache.txt"
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$cache" 2>/dev/null | head -1; }
build_type=$(cache_value CMAKE_BUILD_TYPE)
compiler=$(cache_value CMAKE_CXX_COMPILER)
type_upper=$(tr '[:lower:]' '[:upper:]' <<<"${build_type:-none}")
echo "== Machine : $(nproc) processeurs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
     "$(awk '/MemTotal/ { printf "%.1f Go", $2 / 1048576 }' /proc/meminfo), $(uname -sr)," \
     "charge $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== Construction : $build, type ${build_type:-(aucun)}, $("${compiler:-c++}" --version | head -1)"
echo "   options : $(cache_value CMAKE_CXX_FLAGS) $(cache_value "CMAKE_CXX_FLAGS_$type_upper")" \
     "-Wall -Wextra (C++17)"
echo "== Temps : médianes de $runs exécutions, chaque commande en alternance avec son plancher ;" \
     "rapport = médiane murale / médiane murale du plancher"

# --- Timing --------------------------------------------------------------------------------
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
verdict() { awk -v v="$1" -v max="$2" 'BEGIN { print (v <= max ? "tenu" : "MANQUÉ") }'; }

# compare LABEL TARGET FLOOR_FUNCTION COMMAND_FUNCTION: both timed $runs times in turn.
compare() {
    local label=$1 target=$2 floor=$3 job=$4 i fw=() fc=() jw=() jc=() w c
    for ((i = 0; i < runs; i++)); do
        read -r w c < <(once "$floor"); fw+=("$w"); fc+=("$c")
        read -r w c < <(once "$job"); jw+=("$w"); jc+=("$c")
    done
    local fwm fcm jwm jcm
    fwm=$(printf '%s\n' "${fw[@]}" | median); fcm=$(printf '%s\n' "${fc[@]}" | median)
    jwm=$(printf '%s\n' "${jw[@]}" | median); jcm=$(printf '%s\n' "${jc[@]}" | median)
    local r rc
    r=$(ratio "$jwm" "$fwm"); rc=$(ratio "$jcm" "$fcm")
    local mark=""
    [[ -n $target ]] && mark="(objectif <= $target à x$target_copies)"
    [[ -n $target && $copies -eq $target_copies ]] && mark="(objectif <= $target) $(verdict "$r" "$target")"
    printf "%-40s %7s ms (CPU %6s) ; plancher %7s ms (CPU %6s) ; rapport %s (CPU %s) %s\n" \
        "$label" "$jwm" "$jcm" "$fwm" "$fcm" "$r" "$rc" "$mark"
}
show() { printf '   $ %s\n' "$*"; }

for copies in "${sizes[@]}"; do
    dir="$work/x$copies"
    "$here/scale-corpus.sh" "$dir" "$copies" "$corpus"
    latin="$dir/latin.txt"
    french="$dir/francais.txt"
    cat "$latin" "$french" >/dev/null  # both texts in the page cache
    latin_bytes=$(stat -c %s "$latin")
    words=$("$cli" --latin "$latin" --count '*')
    echo
    echo "== Corpus réel x$copies : latin $latin_bytes octets ($words mots), français $(stat -c %s "$french") octets"

    wc_latin() { wc -w "$latin"; }
    echo "Plancher :"; show "LC_ALL=C wc -w $latin"
    # Not to /dev/null: GNU grep stops at the first match when its output goes nowhere.
    grep_deus() { grep -c -w -i deus "$latin" >"$dir/grep.txt"; }
    compare "grep -c -w -i deus (pour comparer)" "" wc_latin grep_deus
    show "LC_ALL=C grep -c -w -i deus $latin > grep.txt"

    for query in 'a*' 'Deus' '*'; do
        count_job() { "$cli" --latin "$latin" --count "$query"; }
        compare "--count '$query'" 0.6 wc_latin count_job
        show "$cli --latin $latin --count '$query'"
    done

    "$cli" --latin "$latin" --list et >"$dir/liste.txt"
    list_job() { "$cli" --latin "$latin" --list et >"$dir/liste-bis.txt"; }
    list_floor() { wc -w "$latin" && cp "$dir/liste.txt" "$dir/liste-copie.txt"; }
    compare "--list et (> fichier)" 1.0 list_floor list_job
    show "$cli --latin $latin --list et > liste.txt"
    echo "   plancher : wc -w $latin && cp liste.txt ($(stat -c %s "$dir/liste.txt") octets)"

    result_job() { "$cli" --latin "$latin" --french "$french" --sort forms --date x --output "$dir/et.txt" et; }
    result_job >/dev/null
    result_floor() { wc -w "$latin" "$french" && cp "$dir/et.txt" "$dir/copie.txt"; }
    compare "résultat « et » --french --sort forms" 2.0 result_floor result_job
    show "$cli --latin $latin --french $french --sort forms --date x --output et.txt et"
    echo "   plancher : wc -w $latin $french && cp et.txt ($(stat -c %s "$dir/et.txt") octets)"
    rm -f "$dir"/liste*.txt "$dir/et.txt" "$dir/copie.txt"

    limit_kb=$(( latin_bytes * 12 / 10 / 1024 ))
    for run in "--count Deus" "--count *"; do
        read -ra args <<<"$run"  # no file-name expansion of the "*"
        kb=$(/usr/bin/time -f %M "$cli" --latin "$latin" "${args[@]}" 2>&1 >/dev/null | tail -1)
        mark="(plafond à x$target_copies : 1,2 x le texte)"
        [[ $copies -eq $target_copies ]] && mark="(plafond $(mb "$limit_kb") Mo) $(verdict "$kb" "$limit_kb")"
        printf "%-40s %7s Mo = %s x le texte %s\n" "mémoire de pointe $run" "$(mb "$kb")" \
            "$(ratio "$kb" "$(( latin_bytes / 1024 ))")" "$mark"
        show "/usr/bin/time -f %M $cli --latin $latin $run"
    done

    # The window: the core's search and sort behind it plus drawing, CPU time per the benchmark.
    grid_bench="$build/bench/quorvex_grid_bench"
    if [[ ${GRID:-1} != 0 && -x $grid_bench ]]; then
        if command -v xvfb-run >/dev/null; then
            display=(xvfb-run -a -s "-screen 0 1280x1024x24")
            where="sous Xvfb"
        else
            display=(env QT_QPA_PLATFORM=offscreen)
            where="hors écran (Xvfb absent)"
        fi
        show "QUORVEX_BENCH_LATIN=$latin QUORVEX_BENCH_FRENCH=$french ${display[*]} $grid_bench" \
             "--benchmark_filter='SearchStar|SortAllRows' --benchmark_format=csv"
        QUORVEX_BENCH_LATIN="$latin" QUORVEX_BENCH_FRENCH="$french" "${display[@]}" "$grid_bench" \
            --benchmark_filter='SearchStar|SortAllRows' --benchmark_format=csv 2>/dev/null \
            | awk -F, -v x="$copies" -v tx="$target_copies" -v where="$where" '
                $1 ~ /SearchStar/ { name = "fenêtre : « * » affiché"; max = 500 }
                $1 ~ /SortAllRows/ { name = "fenêtre : « Formes » sur « * »"; max = 1000 }
                name != "" {
                    ms = $4 + 0
                    mark = "(objectif < " max " ms à x" tx ")"
                    if (x == tx) mark = "(objectif < " max " ms) " (ms < max ? "tenu" : "MANQUÉ")
                    printf "%-40s %7.0f ms CPU %s %s\n", name, ms, where, mark
                    name = ""
                }'
    fi
done

# --- A pair with a whole Bible's vocabulary ------------------------------------------------
# Word searches cost more per distinct form: the New Testament copies hold a third of a Bible's
# forms. quorvex-genbible makes 48 copies (about 44 MB, 6 M words) whose words are partly
# replaced by other real forms of the lexicon (about 46,000 distinct Latin forms) and by other
# words of the French dictionary. BIBLE_DIR=DIR keeps (and reuses) the pair there.
genbible="$build/bench/quorvex-genbible"
lexicon_dir=${QUORVEX_LEXICON:-$(sed -n 's/^QUORVEX_LEXICON_SOURCE:[A-Z]*=//p' "$cache" | head -1)}
if [[ ${BIBLE:-1} != 0 && -x $genbible && -n $lexicon_dir ]]; then
    bible=${BIBLE_DIR:-$work/bible}
    mkdir -p "$bible"
    if [[ ! -f $bible/latin.txt || ! -f $bible/francais.txt ]]; then
        show "$genbible $lexicon_dir $corpus $bible"
        "$genbible" "$lexicon_dir" "$corpus" "$bible"
    fi
    latin="$bible/latin.txt"
    french="$bible/francais.txt"
    dir="$bible"
    copies=$target_copies  # the verdicts are read on this pair
    cat "$latin" "$french" >/dev/null
    latin_bytes=$(stat -c %s "$latin")
    echo
    echo "== Paire au vocabulaire d'une Bible : latin $latin_bytes octets ($("$cli" --latin "$latin" --count '*') mots)," \
         "français $(stat -c %s "$french") octets"
    wc_latin() { wc -w "$latin"; }
    wc_both() { wc -w "$latin" "$french"; }
    for query in dico sum; do
        lemma_job() { "$cli" --latin "$latin" --lemma --count "$query"; }
        compare "--lemma --count $query" 0.8 wc_latin lemma_job
        show "$cli --latin $latin --lemma --count $query"
    done
    strict_job() { "$cli" --latin "$latin" --lemma-strict --count dico; }
    compare "--lemma-strict --count dico" 1.5 wc_latin strict_job
    show "$cli --latin $latin --lemma-strict --count dico"
    folded_job() { "$cli" --latin "$latin" --normalize --count deus; }
    compare "--normalize --count deus" 0.8 wc_latin folded_job
    show "$cli --latin $latin --normalize --count deus"
    lemma_frequencies_job() { "$cli" --latin "$latin" --lemma --frequencies; }
    compare "--lemma --frequencies" 1.5 wc_latin lemma_frequencies_job
    show "$cli --latin $latin --lemma --frequencies"
    collocates_job() { "$cli" --latin "$latin" --collocates 5 deus; }
    compare "--collocates 5 deus" 1.5 wc_latin collocates_job
    show "$cli --latin $latin --collocates 5 deus"
    translations_job() { "$cli" --latin "$latin" --french "$french" --lemma --translations dico; }
    translations_job >/dev/null  # fills the cache
    compare "--lemma --translations dico (cache)" 2.0 wc_both translations_job
    show "$cli --latin $latin --french $french --lemma --translations dico   (plancher : wc -w sur les deux)"

    # The first tenth of the pair: the fixed costs (lexicon, dictionary) weigh more there.
    head -c $(( latin_bytes / 10 )) "$latin" | sed '$d' >"$bible/latin-10.txt"
    last=$(tail -c 200 "$bible/latin-10.txt" | grep -o '\[[0-9.]*\]' | tail -1)
    awk -v last="$last" '{ print } index($0, last) == 1 { exit }' "$french" >"$bible/francais-10.txt"
    latin10="$bible/latin-10.txt"
    french10="$bible/francais-10.txt"
    wc_tenth() { wc -w "$latin10" "$french10"; }
    tenth_job() { "$cli" --latin "$latin10" --french "$french10" --lemma --translations dico; }
    tenth_job >/dev/null
    compare "dixième : --translations (cache)" 3.0 wc_tenth tenth_job
    show "$cli --latin $latin10 --french $french10 --lemma --translations dico"
    tenth_cold_job() { "$cli" --latin "$latin10" --french "$french10" --lemma --translations --no-cache dico; }
    compare "dixième : --translations --no-cache" 8.0 wc_tenth tenth_cold_job
    show "$cli --latin $latin10 --french $french10 --lemma --translations --no-cache dico"

    result_job() { "$cli" --latin "$latin" --french "$french" --sort forms --date x --output "$dir/et.txt" et; }
    result_job >/dev/null
    result_floor() { wc -w "$latin" "$french" && cp "$dir/et.txt" "$dir/copie.txt"; }
    compare "résultat « et » --french --sort forms" 1.8 result_floor result_job
    show "$cli --latin $latin --french $french --sort forms --date x --output et.txt et"
    rm -f "$dir/et.txt" "$dir/copie.txt"

    limit_kb=$(( latin_bytes * 12 / 10 / 1024 ))
    kb=$(/usr/bin/time -f %M "$cli" --latin "$latin" --lemma --count dico 2>&1 >/dev/null | tail -1)
    printf "%-40s %7s Mo = %s x le texte (plafond %s Mo) %s\n" "mémoire de pointe --lemma --count dico" "$(mb "$kb")" \
        "$(ratio "$kb" "$(( latin_bytes / 1024 ))")" "$(mb "$limit_kb")" "$(verdict "$kb" "$limit_kb")"
    show "/usr/bin/time -f %M $cli --latin $latin --lemma --count dico"
fi

echo
echo "== Texte de 700 Ko : « [1] » puis « amor ] » x 100 000"
stray="$work/crochets.txt"
{ printf '[1] '; for ((i = 0; i < 100000; i++)); do printf 'amor ] '; done; } >"$stray"
read -r w _ < <(once "$cli" --latin "$stray" --count amor)
kb=$(/usr/bin/time -f %M "$cli" --latin "$stray" --sort forms --list quorvexus 2>&1 >/dev/null | tail -1)
echo "--count amor : $w ms (objectif < 2000) ; --sort forms --list quorvexus (table de mots) : mémoire de pointe $(mb "$kb") Mo (objectif < 64)"
