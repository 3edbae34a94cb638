# Sourced by every timing script with its own arguments [BUILD_DIR] [MEGABYTES]: the built
# command line tool, a scratch folder removed on exit, and the timing helpers. $runs is RUNS,
# else 7; a script may set its own after this.
build=${1:-build}
megabytes=${2:-5}
cli="$build/src/cli/quorvex-cli"
gen="$build/bench/quorvex-gencorpus"

# need TOOL...: ends the script with a message when one of the tools is not built.
need() {
    local tool
    for tool in "$@"; do
        [[ -x $tool ]] || { echo "$(basename "$0") : $tool manque ; construisez d'abord (cmake --build $build)." >&2; exit 1; }
    done
}
need "$cli"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-7}
export LC_ALL=C

TIMEFORMAT='%3R %3U %3S'
# Times one run of "$@" (a command or a shell function): "wall_ms cpu_ms".
once() {
    local t
    t=$({ time "$@" >/dev/null 2>&1; } 2>&1) || true
    awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' <<<"$t"
}
# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Median wall time of $runs runs, in milliseconds to the microsecond.
median_ms() {
    local i start end times=()
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | median | awk '{ printf "%.1f", $1 / 1000 }'
}
# Median processor time (user + system) of $runs runs, in milliseconds: on a loaded machine
# the wall times of both sides stretch unevenly, the processor times much less.
median_cpu_ms() {
    local i w c cpu=()
    for ((i = 0; i < runs; i++)); do
        read -r w c < <(once "$@")
        cpu+=("$c")
    done
    printf '%s\n' "${cpu[@]}" | median
}
# Best wall time of $runs runs, in milliseconds. --check's exit 3 is a result, not a failure.
best_ms() {
    local i best= start end us
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null || [[ $? -eq 3 ]]
        end=$(date +%s%N)
        us=$(( (end - start) / 1000 ))
        if [[ -z $best || $us -lt $best ]]; then best=$us; fi
    done
    awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
}
# Peak resident memory of one run of "$@" (GNU time's maximum resident set), in megabytes.
peak_mb() {
    /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1 || true
    awk '{ printf "%.1f", $1 / 1024 }' "$work/peak"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
