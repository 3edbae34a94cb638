#!/usr/bin/env bash
# The installed completion against the installed program, with and without bash-completion.
set -euo pipefail
root=$1/package-root
here=$(dirname "$0")/..
bash "$here/tests/packaging/completion_test.sh" "$root/usr/bin/quorvex-cli" \
    "$root/usr/share/bash-completion/completions/quorvex-cli"
