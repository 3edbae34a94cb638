#!/usr/bin/env bash
# The installed completions against the installed program, with and without bash-completion.
set -euo pipefail
root=$1/package-root
here=$(dirname "$0")/..
completions=$root/usr/share/bash-completion/completions
bash "$here/tests/packaging/completion_test.sh" "$root/usr/bin/quorvex-cli" \
    "$completions/quorvex-cli" "$completions/quorvex"
