#!/usr/bin/env bash
# The installed manual pages render without warning and document every option.
set -euo pipefail
root=$1/package-root
here=$(dirname "$0")/..
bash "$here/tests/packaging/man_check.sh" "$root/usr/bin/quorvex-cli" \
    "$root/usr/share/man/man1/quorvex-cli.1.gz" "$root/usr/share/man/man1/quorvex.1.gz"
