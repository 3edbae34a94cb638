#!/usr/bin/env bash
# The Windows build run as a Windows user would, under Wine: quorvex-cli.exe must give the
# Linux build's bytes (standard output, standard error, exit code, files written), on texts
# whose names hold accents too; then the core's tests, cross-built, run under Wine.
#   .ci/windows-wine.sh LINUX_BUILD WINDOWS_BUILD
# LINUX_BUILD holds src/cli/quorvex-cli; WINDOWS_BUILD a MinGW-w64 build configured with
# the tests (its tests are built here).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
linux_cli=$(cd "$1" && pwd)/src/cli/quorvex-cli
windows_build=$(cd "$2" && pwd)
windows_cli=$windows_build/src/cli/quorvex-cli.exe
[[ -x $linux_cli ]] || { echo "no Linux build at $linux_cli"; exit 1; }
[[ -f $windows_cli ]] || { echo "no Windows build at $windows_cli"; exit 1; }

seconds() { echo $(( ($(date +%s%N) - $1) / 1000000000 )); }

# Headless, quiet, a prefix of its own that goes at the end; no Mono or Gecko to offer.
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
start=$(date +%s%N)
wineboot --init </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; exit 1; }
echo "wineboot: $(seconds "$start") s"

# run_case NAME ARG...: both builds in folders of their own holding the same texts (and a
# result file to replace), run by relative names so that messages name the same files.
failed=0
run_case()
{
    local name=$1
    shift
    local side
    for side in linux windows; do
        local dir=$work/$side/$name
        mkdir -p "$dir"
        cp "$here/samples/latin.txt" "$dir/latin.txt"
        cp "$here/samples/latin.txt" "$dir/texte_é.txt"
        cp "$here/samples/francais.txt" "$dir/traduction_è.txt"
        printf 'ancien\r\n' >"$dir/résultat_é.txt"
        local run=("$linux_cli")
        [[ $side == windows ]] && run=(wine "$windows_cli")
        local code=0
        (cd "$dir" && "${run[@]}" "$@" </dev/null >stdout 2>stderr) || code=$?
        echo "$code" >"$dir/code"
    done
    local linux=$work/linux/$name windows=$work/windows/$name
    if diff -r "$linux" "$windows" >"$work/$name.diff"; then
        # What the case wrote besides its standard streams.
        local written
        written=$(cd "$linux" && ls | grep -v -x -e stdout -e stderr -e code -e latin.txt -e texte_é.txt \
            -e traduction_è.txt -e résultat_é.txt | tr '\n' ' ' || true)
        [[ $(cat "$linux/résultat_é.txt") == $'ancien\r' ]] || written+="résultat_é.txt (replaced)"
        printf 'same     %-22s stdout %5d B, stderr %3d B, exit %s%s\n' "$name" \
            "$(stat -c %s "$linux/stdout")" "$(stat -c %s "$linux/stderr")" "$(cat "$linux/code")" \
            "${written:+, wrote $written}"
    else
        echo "DIFFERS  $name: $*"
        head -c 2000 "$work/$name.diff"
        failed=1
    fi
}

start=$(date +%s%N)
both=(--latin texte_é.txt --french traduction_è.txt)
run_case count --latin latin.txt --count 'am*'
run_case count-accented-name --latin texte_é.txt --count 'am*'
run_case list --latin texte_é.txt --list 'a*'
run_case list-french-accented "${both[@]}" --side french --list 'é*'
run_case kwic --latin texte_é.txt --kwic 30 --sort forms 'am*'
run_case export-tsv "${both[@]}" --format tsv 'am*'
run_case export-csv-file "${both[@]}" --format csv --output export_é.csv 'am*'
run_case export-html-file "${both[@]}" --format html --output export_é.html amor
run_case result-file-replaced "${both[@]}" --title 'Titre : Évangile' --date '04/12/2026 10:00:00' \
    --output résultat_é.txt 'am*or'
run_case result-stdout "${both[@]}" --date '04/12/2026' amor
run_case check "${both[@]}" --check
run_case missing-text --latin absent_é.txt --count amor
run_case output-is-folder --latin texte_é.txt --output . amor
run_case unknown-option --latin texte_é.txt --bogus amor
# --help differs on purpose: the Windows build goes without Hunspell and says so.
# The lexicon named: the folder found would be each build's own.
run_case version --lexicon lexique --version
echo "comparisons: $(seconds "$start") s"

# The core's tests, cross-built: each prints its own summary, ctest the whole.
start=$(date +%s%N)
cmake --build "$windows_build" -j2 >"$work/build-tests.log" 2>&1 || { tail -50 "$work/build-tests.log"; exit 1; }
echo "tests cross-built: $(seconds "$start") s"
start=$(date +%s%N)
for test in "$windows_build"/tests/core/*.exe; do
    code=0
    (cd "$work" && wine "$test" </dev/null >"$work/test.log" 2>&1) || code=$?
    summary=$(grep -E '^\[==========\] .* ran|^\[  (PASSED  |SKIPPED |FAILED  )\] [0-9]' "$work/test.log" | tr -s ' ' | tr '\n' ' ')
    echo "$(basename "$test"): $summary(exit $code)"
    if [[ $code != 0 ]]; then
        grep -B2 -A12 'Failure' "$work/test.log" | head -60
        failed=1
    fi
done
echo "tests under Wine: $(seconds "$start") s"
exit $failed
