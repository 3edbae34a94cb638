# Sourced by run.sh and power.sh with their own arguments [BUILD_DIR] [MEGABYTES]: the
# built tools, a scratch folder removed on exit, and the timing helpers. Set $runs after it.
build=${1:-build}
megabytes=${2:-5}
cli="$build/src/cli/quorvex-cli"
gen="$build/bench/quorvex-gencorpus"
for tool in "$cli" "$gen"; do
    [[ -x $tool ]] || { echo "$(basename "$0") : $tool manque ; construisez d'abord (cmake --build $build)." >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=7

# Best wall time of $runs runs, in milliseconds. --check's exit 3 is a result, not a failure.
best_ms() {
    local best=
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null || [[ $? -eq 3 ]]
        end=$(date +%s%N)
        local us=$(( (end - start) / 1000 ))
        if [[ -z $best || $us -lt $best ]]; then best=$us; fi
    done
    awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

export LC_ALL=C
