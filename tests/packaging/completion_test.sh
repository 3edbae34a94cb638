#!/usr/bin/env bash
# The bash completions of quorvex-cli and quorvex, driven as bash drives them (COMP_WORDS,
# COMP_CWORD):
#   completion_test.sh QUORVEX_CLI CLI_COMPLETION_SCRIPT QUORVEX_COMPLETION_SCRIPT
# Runs the cases once with the plain fallbacks and once under the bash-completion package
# when it is installed. A fake program with an option the real one lacks shows that a new
# row of the option table completes without a change to the script.
set -uo pipefail
cli=$(realpath "$1")
script=$(realpath "$2")
gui_script=$(realpath "$3")
work=$(mktemp -d)
fakes=$(mktemp -d)
trap 'rm -rf "$work" "$fakes"' EXIT
cd "$work" || exit 1
touch latin.txt francais.txt 'deux mots.txt'
mkdir corpus

# Replies, sorted, on one line.
replies()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    if [[ ${COMP_WORDS[0]} == quorvex ]]; then _quorvex; else _quorvex_cli; fi
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

failures=0
modes=
check()
{
    local name=$1 expected=$2
    shift 2
    local got
    got=$(replies "$@")
    if [[ $got != "$expected" ]]; then
        echo "FAIL $name: [$*] gave [$got], expected [$expected]"
        failures=$((failures + 1))
    fi
}

run_cases()
{
    local mode=$1
    modes+="$mode "
    unset _quorvex_cli_options
    local q=$cli
    check "$mode/optionsByPrefix" "--format --french --french-form --french-lemma --frequencies" "$q" --f
    check "$mode/versionOption" "--version" "$q" --latin latin.txt --vers
    check "$mode/sortValues" "forms left right text" "$q" --sort ""
    check "$mode/sortValuePrefix" "forms" "$q" --latin latin.txt --sort f
    check "$mode/formatValues" "csv html tmx tsv" "$q" --format ""
    check "$mode/formatAfterEquals" "html" "$q" --format = h
    check "$mode/latinFiles" "corpus deux mots.txt francais.txt latin.txt" "$q" --latin ""
    check "$mode/frenchFilePrefix" "francais.txt" "$q" --latin latin.txt --french fr
    check "$mode/outputFileWithSpace" "deux mots.txt" "$q" --output de
    check "$mode/dictionaryFiles" "francais.txt" "$q" --dictionary fr
    check "$mode/plotFile" "deux mots.txt" "$q" --latin latin.txt --plot de
    check "$mode/plotFileAfterEquals" "francais.txt" "$q" --plot = fr
    check "$mode/titleIsFreeText" "" "$q" --title ""
    check "$mode/kwicWidthIsFreeText" "" "$q" --kwic ""
    check "$mode/formsAfterDoubleDash" "" "$q" --latin latin.txt -- --f
    check "$mode/lexiconFolders" "corpus" "$q" --lexicon ""
    check "$mode/lemmaOptions" "--lemma --lemma-strict" "$q" --lem
    local count
    count=$(replies "$q" -- | wc -w)
    local rows
    rows=$("$q" --help | grep -c '^  --[a-z]')
    [[ $count -eq $((rows + 1)) ]] || { echo "FAIL $mode/everyOption: $count replies for $rows options"; failures=$((failures + 1)); }

    # A program whose table has grown: its new options complete with no change here.
    cat > "$fakes/fake-cli" <<'HELP'
#!/bin/sh
cat <<'TEXT'
Usage : quorvex-cli --latin FICHIER [--side latin|français] FORME

Options :
  --latin FICHIER
      texte latin
      exemple : quorvex-cli --latin latin.txt amor
  --side latin|français
      côté
      exemple : quorvex-cli --latin latin.txt --side latin amor
  --collocates FICHIER
      liste
      exemple : quorvex-cli --latin latin.txt --collocates latin.txt amor
TEXT
HELP
    chmod +x "$fakes/fake-cli"
    unset _quorvex_cli_options
    check "$mode/newOption" "--collocates" "$fakes/fake-cli" --co
    check "$mode/newOptionValues" "français latin" "$fakes/fake-cli" --side ""
    check "$mode/newFileOption" "francais.txt" "$fakes/fake-cli" --collocates fr

    # The window program: its options, then two files at most.
    check "$mode/gui/options" "-- --help --version" quorvex -
    check "$mode/gui/versionPrefix" "--version" quorvex --v
    check "$mode/gui/latinFile" "corpus deux mots.txt francais.txt latin.txt" quorvex ""
    check "$mode/gui/frenchFile" "francais.txt" quorvex latin.txt fr
    check "$mode/gui/noThirdFile" "" quorvex latin.txt francais.txt ""
    check "$mode/gui/platformValues" "offscreen" quorvex -platform o
    check "$mode/gui/qtValueIsNoFile" "latin.txt" quorvex -style fusion latin.txt la
    check "$mode/gui/dashedFileAfterDoubleDash" "" quorvex -- -
    check "$mode/gui/nothingAfterHelp" "" quorvex --help ""
}

source "$script"
source "$gui_script"
run_cases plain
if [[ -r /usr/share/bash-completion/bash_completion ]]; then
    source /usr/share/bash-completion/bash_completion
    source "$script"
    source "$gui_script"
    declare -F _filedir >/dev/null && run_cases bash-completion
fi
[[ $failures -eq 0 ]] && echo "completion: all cases pass (${modes% })"
exit $((failures > 0))
