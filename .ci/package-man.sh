#!/usr/bin/env bash
# The installed manual pages render without warning and document every option, in French
# under man/fr/man1 and in English under man1, where man looks for each language (MANPATH:
# with -M, man reads no language folder).
set -euo pipefail
root=$1/package-root
here=$(dirname "$0")/..
man=$root/usr/share/man
bash "$here/tests/packaging/man_check.sh" "$root/usr/bin/quorvex-cli" \
    "$man/fr/man1/quorvex-cli.1.gz" "$man/man1/quorvex-cli.1.gz" \
    "$man/fr/man1/quorvex.1.gz" "$man/man1/quorvex.1.gz"
for page in quorvex-cli quorvex; do
    MANPATH=$man LC_ALL=C.UTF-8 MANWIDTH=80 man -L fr "$page" | grep -q '^NOM' \
        || { echo "man -L fr $page does not show the French page"; exit 1; }
    MANPATH=$man LC_ALL=C.UTF-8 MANWIDTH=80 man "$page" | grep -q '^NAME' \
        || { echo "man $page does not show the English page"; exit 1; }
done
echo "man -L fr and man show the French and the English pages of quorvex-cli and quorvex"
