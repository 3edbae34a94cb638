#!/usr/bin/env bash
# The programs as the build leaves them, started with no lexicon named (CTest unsets
# QUORVEX_LEXICON): they find the lexicon the build laid out in its tree, and say so; a copy
# of quorvex-cli outside the build, with no lexicon anywhere, names the folders it tried.
#   lexicon_from_build_tree.sh BUILD_LEXICON SOURCE_LEXICON SAMPLES QUORVEX_CLI [QUORVEX]
set -uo pipefail
build_lexicon=$1 source_lexicon=$2 samples=$3 cli=$4 windows=${5:-}
failed=0
fail() { echo "FAIL $*"; failed=1; }

[[ -z ${QUORVEX_LEXICON+set} ]] || fail "QUORVEX_LEXICON is set: $QUORVEX_LEXICON"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# From another folder, as a user would start it: nothing found through the working folder.
cd "$work" || exit 1

named=$("$cli" --latin "$samples/latin.txt" --lexicon "$source_lexicon" --lemma --count dico)
found=$("$cli" --latin "$samples/latin.txt" --lemma --count dico 2>"$work/err")
code=$?
[[ $code == 0 ]] || fail "quorvex-cli --lemma --count dico: exit $code, $(cat "$work/err")"
[[ $named =~ ^[1-9][0-9]*$ ]] || fail "the named lexicon gives no attestation of dico: '$named'"
[[ $found == "$named" ]] || fail "found '$found' attestations of dico, '$named' with the lexicon named"
echo "quorvex-cli --lemma --count dico: $found"

line="Lexique latin : $build_lexicon"
version=$("$cli" --version | tail -n 1)
[[ $version == "$line" ]] || fail "quorvex-cli --version ends with '$version', not '$line'"
echo "quorvex-cli --version: $version"
if [[ -n $windows ]]; then
    version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$windows" --version | tail -n 1)
    [[ $version == "$line" ]] || fail "quorvex --version ends with '$version', not '$line'"
    echo "quorvex --version: $version"
fi
# A copy outside any build tree and no collatinus package: nothing to find.
if [[ -e /usr/share/collatinus/data/lemmes.la ]]; then
    echo "skipped: the collatinus package is installed, a lexicon is always found"
else
    mkdir -p "$work/bin"
    cp "$cli" "$work/bin/quorvex-cli"
    "$work/bin/quorvex-cli" --latin "$samples/latin.txt" --lemma --count dico >"$work/out" 2>"$work/err"
    code=$?
    expected="Le lexique latin est introuvable ; dossiers essayés : « $work/share/quorvex/lexicon », \
« /usr/share/collatinus/data ». Pour l'obtenir : installez le paquet quorvex-lexicon, ou lancez \
tools/fetch-lexicon.sh depuis les sources du programme, ou nommez son dossier (--lexicon DOSSIER, \
variable QUORVEX_LEXICON)."
    [[ $code == 1 ]] || fail "no lexicon anywhere: exit $code"
    [[ ! -s $work/out ]] || fail "no lexicon anywhere: '$(cat "$work/out")' on standard output"
    [[ $(cat "$work/err") == "$expected" ]] || fail "no lexicon anywhere: '$(cat "$work/err")'"
    version=$("$work/bin/quorvex-cli" --version | tail -n 1)
    [[ $version == "Lexique latin : introuvable" ]] || fail "no lexicon anywhere, --version: '$version'"
    echo "no lexicon anywhere: exit $code, $(cat "$work/err")"
fi
exit $failed
