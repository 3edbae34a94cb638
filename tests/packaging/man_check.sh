#!/usr/bin/env bash
# The manual pages render without a warning; both pages of quorvex-cli show every option
# of its --help with an example, and its version; the French synopsis keeps the help's
# sentences apart from its command lines; nothing is left untranslated; in the C locale too:
#   man_check.sh QUORVEX_CLI FRENCH_CLI_PAGE ENGLISH_CLI_PAGE [OTHER_PAGE...]
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
    # A fresh machine has no locale: man then renders for ASCII.
    warnings=$(LC_ALL=C MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page in the C locale: $warnings"
    # The generator flags what the help holds and the page's source does not translate.
    while IFS= read -r what; do
        fail "$page: no English for $what: add it to the page's source (@option, @say or @word)"
    done < <(zcat -f "$page" | sed -n 's/^\.\\" untranslated: //p')
done

options=$("$cli" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p')
[[ -n $options ]] || fail "no option in --help"
version=$("$cli" --version | head -n1 | awk '{print $NF}')
check_options()
{
    local page=$1 example=$2 text examples
    text=$(render "$page" 2>/dev/null)
    for option in $options; do
        # The option's own entry (at the margin of OPTIONS), then its example.
        grep -qE "^       $option( |\$)" <<<"$text" || fail "$page: $option has no entry"
        grep -qE "^ +$example quorvex-cli .*$option( |\$)" <<<"$text" \
            || fail "$page: $option has no example"
    done
    examples=$(grep -cE "^ +$example quorvex-cli" <<<"$text")
    [[ $examples -eq $(wc -w <<<"$options") ]] || fail "$page: $examples examples for $(wc -w <<<"$options") options"
    grep -q "Veltrano - Quorvex $version" <<<"$text" || fail "$page: does not give version $version"
}
check_options "$1" "exemple :"
check_options "$2" "example:"

# A sentence among the help's usage lines stays a line of its own in the synopsis.
synopsis=$(render "$1" 2>/dev/null | sed -n '/^SYNOPSIS/,/^[A-Z]/p' | sed 's/^ *//')
while IFS= read -r sentence; do
    grep -qxF "$sentence" <<<"$synopsis" || fail "the synopsis runs \"$sentence\" into a command line"
done < <("$cli" --help | sed '/^$/q' | sed 's/^Usage ://; s/^ *//' | grep -vE '^(quorvex|\[|-|$)')

[[ $failures -eq 0 ]] && echo "man pages: $# rendered without warning, every option with its example in both languages"
exit $((failures > 0))
