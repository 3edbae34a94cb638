#!/usr/bin/env bash
# Every output of quorvex-cli, under every search mode, on three texts, written one case a
# file so that two runs compare with `diff -r`: a change meant to keep the outputs as they
# were shows here byte for byte.
#
#   tests/byte-identical/run-all-outputs.sh BUILD_DIR OUTDIR [CORPUS_DIR]
#
# OUTDIR/<text>-<mode>-<output>.out, .err and .rc hold standard output, standard error and
# the exit code; a file the case writes lands beside them as <case>.<file name>.
# The texts: the New Testament pair (CORPUS_DIR, by default ../shared/corpus beside the
# repository, or two levels up from a worktree), samples/, and a generated pair with letters in markers, stray brackets, text
# before the first marker and lone CR and LF. The date is fixed, so two runs agree.
set -euo pipefail

build=${1:?dossier de construction}
outdir=${2:?dossier des sorties}
repo=$(cd "$(dirname "$0")/../.." && pwd)
corpus=${3:-$repo/../shared/corpus}
# A worktree lies one level deeper than the main checkout.
[[ -n ${3:-} || -d $corpus ]] || corpus=$repo/../../shared/corpus

cli=$build/src/cli/quorvex-cli
[[ -x $cli ]] || { echo "$(basename "$0") : $cli introuvable" >&2; exit 1; }
cli=$(cd "$(dirname "$cli")" && pwd)/quorvex-cli
[[ -f $corpus/latin-nt.txt && -f $corpus/francais-nt.txt ]] \
    || { echo "$(basename "$0") : corpus introuvable dans $corpus" >&2; exit 1; }

mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)
# Messages name the files as given: the cases run in one scratch folder under fixed names,
# so where OUTDIR lies does not show in the outputs.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cp "$corpus/latin-nt.txt" nt-latin.txt
cp "$corpus/francais-nt.txt" nt-french.txt
cp "$repo/samples/latin.txt" samples-latin.txt
cp "$repo/samples/francais.txt" samples-french.txt
# Windows-1252: \xE6 æ, \x9C œ, \x9A š, \xE9 é, \xE8 è. Lone CR, lone LF and CR LF all end lines.
printf '%b' \
    'Praefatio ante omnia amor.\r\n' \
    '[1] Amor vincit omnia et nos cedamus amori.\r\n' \
    '[2a] C\xE6lum et terra, \x9Cconomia; amor patriae\rsine fine.\n' \
    '[3] Stray ] bracket and [ another, amor patriae magna.\r\n' \
    '[A.4] Filius Dei amat; filius dei \x9Aurgit.\n' \
    '[5] Iesus et Jesus, vinum et uinum; amor.\r\n' \
    '[5] Repetita ref, amor patri\xE6.\r\n' \
    '[4] Ordo perversus, amor.\r\n' \
    '[6]\r\n' \
    '[7] Ultima amor' >gen-latin.txt
printf '%b' \
    'Pr\xE9face avant tout, amour.\r\n' \
    '[1] L\x27amour vainc tout et c\xE9dons \xE0 l\x27amour.\r\n' \
    '[2a] Le ciel et la terre, \x9Cconomie ; amour de la patrie\rsans fin.\n' \
    '[3] Un ] crochet et [ un autre, amour de la patrie.\r\n' \
    '[A.4] Le Fils de Dieu aime ; le fils de dieu surgit.\n' \
    '[5] J\xE9sus et J\xE9sus, le vin ; amour.\r\n' \
    '[8] Seule en fran\xE7ais, amour.\r\n' \
    '[7] Derni\xE8re amour' >gen-french.txt

date=(--date '01/01/2026 12:00:00')
count=0

# run_case NAME ARG...: one case, its files moved out of the scratch folder.
run_case() {
    local name=$1
    shift
    local rc=0
    "$cli" "$@" >"$outdir/$name.out" 2>"$outdir/$name.err" || rc=$?
    echo "$rc" >"$outdir/$name.rc"
    local f
    for f in *; do
        case $f in
        *-latin.txt | *-french.txt) ;;
        *) mv -- "$f" "$outdir/$name.$f" ;;
        esac
    done
    count=$((count + 1))
}

# The modes: ARGS and the form each searches, per text.
#   set_text TEXT: LATIN FRENCH FORM PHRASE PHRASE_SORT NORM FRENCH_SIDE FFORM_LATIN FFORM
#   FLEMMA REF
set_text() {
    case $1 in
    nt)
        latin=nt-latin.txt french=nt-french.txt
        form='am*' phrase='autem genuit' phrase_sort='filii *' norm='iesu*'
        french_side='seigneur*' fform_latin='Deus' fform='Dieu*' flemma='seigneur'
        ref='[47.1.2]'
        ;;
    samples)
        latin=samples-latin.txt french=samples-french.txt
        form='am*' phrase='amor patriae' phrase_sort='am* *' norm='amor'
        french_side='amour' fform_latin='am*' fform='aim*' flemma='aimer' ref='[2]'
        ;;
    gen)
        latin=gen-latin.txt french=gen-french.txt
        form='amor*' phrase='amor patri*' phrase_sort='filius *' norm='caelum'
        french_side='amour' fform_latin='amor*' fform='patrie' flemma='amour'
        ref='[2a]'
        ;;
    esac
}

# mode_args MODE: sets `margs` (the mode's options) and `mform` (the form it searches).
mode_args() {
    case $1 in
    plain) margs=() mform=$form ;;
    phrase) margs=(--phrase) mform=$phrase ;;
    normalize) margs=(--normalize) mform=$norm ;;
    side-french) margs=(--side french) mform=$french_side ;;
    french-form) margs=(--french-form "$fform") mform=$fform_latin ;;
    french-lemma) margs=(--french-lemma "$flemma") mform=$fform_latin ;;
    sort-forms) margs=(--sort forms) mform=$form ;;
    phrase-sort-forms) margs=(--phrase --sort forms) mform=$phrase_sort ;;
    normalize-phrase) margs=(--normalize --phrase) mform=$phrase ;;
    esac
}

modes=(plain phrase normalize side-french french-form french-lemma sort-forms phrase-sort-forms
    normalize-phrase)

for text in nt samples gen; do
    set_text "$text"
    both=(--latin "$latin" --french "$french")
    for mode in "${modes[@]}"; do
        mode_args "$mode"
        c=$text-$mode
        run_case "$c-count" "${both[@]}" "${margs[@]}" --count -- "$mform"
        run_case "$c-list" "${both[@]}" "${margs[@]}" --list -- "$mform"
        run_case "$c-list-latin-only" --latin "$latin" "${margs[@]}" --list -- "$mform"
        run_case "$c-kwic" "${both[@]}" "${margs[@]}" --kwic -- "$mform"
        run_case "$c-kwic-12" "${both[@]}" "${margs[@]}" --kwic 12 -- "$mform"
        run_case "$c-result-stdout" "${both[@]}" "${date[@]}" "${margs[@]}" -- "$mform"
        run_case "$c-result-file" "${both[@]}" "${date[@]}" --title 'Essai « titre »' \
            "${margs[@]}" --output result.txt -- "$mform"
        run_case "$c-result-latin-only" --latin "$latin" "${date[@]}" "${margs[@]}" -- "$mform"
        run_case "$c-print-list" "${both[@]}" "${date[@]}" "${margs[@]}" --print-list -- "$mform"
        run_case "$c-print-context" "${both[@]}" "${margs[@]}" --print-context "$ref"
        run_case "$c-show" "${both[@]}" "${margs[@]}" --show "$ref" --mark "$mform"
        run_case "$c-show-latin-only" --latin "$latin" "${margs[@]}" --show "$ref"
        for fmt in tsv csv html; do
            run_case "$c-export-$fmt" "${both[@]}" "${margs[@]}" --format "$fmt" -- "$mform"
        done
        run_case "$c-export-html-file" "${both[@]}" --title 'Titre' "${margs[@]}" \
            --format html --output export.html -- "$mform"
        run_case "$c-collocates" "${both[@]}" "${margs[@]}" --collocates 3 -- "$mform"
        run_case "$c-collocates-csv" "${both[@]}" "${margs[@]}" --collocates 3 --format csv \
            -- "$mform"
        run_case "$c-plot" "${both[@]}" "${margs[@]}" --plot plot.svg -- "$mform"
        run_case "$c-plot-html" "${both[@]}" "${margs[@]}" --plot plot.svg --format html \
            --output page.html -- "$mform"
        run_case "$c-frequencies" "${both[@]}" "${margs[@]}" --frequencies -- "$mform"
        run_case "$c-frequencies-tsv" "${both[@]}" "${margs[@]}" --frequencies --format tsv \
            -- "$mform"
        run_case "$c-frequencies-csv" "${both[@]}" "${margs[@]}" --frequencies --format csv \
            -- "$mform"
        run_case "$c-check" "${both[@]}" "${margs[@]}" --check
        # The French lemmas come from the system's Hunspell dictionary (hunspell-fr), when it
        # is there: two runs on one machine agree.
        run_case "$c-translations" "${both[@]}" "${margs[@]}" --translations -- "$mform"
        run_case "$c-translations-csv" "${both[@]}" "${margs[@]}" --translations --top 5 \
            --format csv -- "$mform"
        run_case "$c-export-tmx" "${both[@]}" "${margs[@]}" --format tmx -- "$mform"
        run_case "$c-export-tmx-file" "${both[@]}" "${margs[@]}" --format tmx --output units.tmx \
            -- "$mform"
    done
    # No attestation at all, and a form the other side lacks.
    run_case "$text-none-list" "${both[@]}" --list zzzz
    run_case "$text-none-result" "${both[@]}" "${date[@]}" zzzz
    run_case "$text-none-print-list" "${both[@]}" "${date[@]}" --print-list zzzz
    run_case "$text-none-export-html" "${both[@]}" --format html zzzz
    run_case "$text-show-absent" "${both[@]}" --show '[999]'
done

echo "$count cas écrits dans $outdir"
