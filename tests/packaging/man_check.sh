#!/usr/bin/env bash
# The manual pages render without a warning, and the page of quorvex-cli shows every option
# of its --help with an example, and its version:
#   man_check.sh QUORVEX_CLI QUORVEX_CLI_PAGE [OTHER_PAGE...]
# Exits 77 (skipped) where man is not installed.
set -uo pipefail
command -v man >/dev/null || { echo "man is not installed: skipped"; exit 77; }
cli=$1
shift
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

render()
{
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$1"
}

for page in "$@"; do
    warnings=$(render "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page: $warnings"
done

text=$(render "$1" 2>/dev/null)
options=$("$cli" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p')
[[ -n $options ]] || fail "no option in --help"
for option in $options; do
    # The option's own entry (at the margin of OPTIONS), then its example.
    grep -qE "^       $option( |\$)" <<<"$text" || fail "$option has no entry in the page"
    grep -qE "^ +exemple : quorvex-cli .*$option( |\$)" <<<"$text" \
        || fail "$option has no example in the page"
done
examples=$(grep -cE '^ +exemple : quorvex-cli' <<<"$text")
[[ $examples -eq $(wc -w <<<"$options") ]] || fail "$examples examples for $(wc -w <<<"$options") options"
version=$("$cli" --version | head -n1 | awk '{print $NF}')
grep -q "Veltrano - Quorvex $version" <<<"$text" || fail "the page does not give version $version"
[[ $failures -eq 0 ]] && echo "man pages: $# rendered without warning, $examples options with their example"
exit $((failures > 0))
