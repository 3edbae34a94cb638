#!/usr/bin/env bash
# The corrections table mends every line of the fetched lexicon that its reader cannot read,
# on a copy in a temporary folder; mending twice changes nothing more.
#   lexicon-mended.sh QUORVEX_CLI LEXICON_FOLDER TOOLS_FOLDER
set -euo pipefail
cli=$1 lexicon=$2 tools=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$lexicon"/*.la "$lexicon"/*.fr "$work"/
perl "$tools/mend-lexicon.pl" "$tools/lexicon-corrections.tsv" "$work"
"$cli" --lexicon-check --lexicon-extension --lexicon "$work"
sums=$(cat "$work"/*.la | md5sum)
again=$(perl "$tools/mend-lexicon.pl" "$tools/lexicon-corrections.tsv" "$work" 2>&1)
[[ -z $again && $(cat "$work"/*.la | md5sum) == "$sums" ]] || { echo "mended twice: $again" >&2; exit 1; }
