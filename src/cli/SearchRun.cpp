#include "cli/SearchRun.h"

#include "cli/CliChecks.h"
#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "concordance/FormExclusion.h"
#include "concordance/NeighbourSort.h"
#include "concordance/PhraseQuery.h"
#include "passages/BothSides.h"
#include "translation/Equivalents.h"

namespace quorvex {

namespace {

using Output = int (*)(const SearchRun&, std::ostream&, std::ostream&);

struct OutputRow {
    CliAction action;
    Output write;
};

// One row per output; a new output adds its file and its row.
constexpr OutputRow kOutputs[] = {
    {CliAction::Count, writeCount},
    {CliAction::List, writeList},
    {CliAction::Kwic, writeKwic},
    {CliAction::ResultFile, writeResultFileOutput},
    {CliAction::PrintList, writePrintList},
    {CliAction::Export, writeExport},
    {CliAction::Collocates, writeCollocates},
    {CliAction::Plot, writePlot},
    {CliAction::Translations, writeTranslations},
};

Output outputOf(CliAction action)
{
    for (const OutputRow& row : kOutputs)
        if (row.action == action)
            return row.write;
    return nullptr;
}

// The result file and the exports give both passages; --french-form and --french-lemma
// filter by the other's, --equivalents and --translations read them.
bool needsOtherText(const CliOptions& o)
{
    return o.frenchForm || o.frenchLemma || o.equivalents || o.action == CliAction::ResultFile
        || o.action == CliAction::Export || o.action == CliAction::Translations;
}

// Reads every text the run needs before any output, Latin first. Returns kExitOk, or
// kExitFileError after the message.
int readSearchTexts(SearchRun& run, std::string& searched, std::ostream& err)
{
    const CliOptions& o = run.options;
    run.withOther = needsOtherText(o) && !o.frenchPath.empty();
    TextReadResult latin, french;
    if (!o.frenchSide || run.withOther) {
        latin = readText(o.latinPath);
        if (latin.error)
            return reportFileError(err, latin.error);
    }
    if (o.frenchSide || run.withOther) {
        french = readText(o.frenchPath);
        if (french.error)
            return reportFileError(err, french.error);
    }
    searched = std::move(o.frenchSide ? french.text : latin.text);
    if (run.withOther)
        run.otherText = std::move(o.frenchSide ? latin.text : french.text);
    return kExitOk;
}

// The list, built once for every output.
void buildList(SearchRun& run)
{
    const CliOptions& o = run.options;
    if (!o.lemma)
        run.results = PhraseQuery(run.form, o.phrase, run.folding).find(run.table);
    if (o.frenchForm)
        run.results = keepWhereOtherPassageHolds(run.table, run.results, run.otherText,
                                                 WordPattern(*o.frenchForm, run.folding),
                                                 run.letters());
    if (!o.excludedForms.empty())
        run.results = withoutForms(run.table, run.results, o.excludedForms, run.folding);
    if (o.frenchLemma)
        run.results = keepWhereFrenchHoldsLemma(run.table, run.results, run.otherText,
                                                *run.french.lemmas, *o.frenchLemma);
    if (o.equivalents) {
        const Equivalents eq = findEquivalents(run.table, run.results, run.otherText,
                                               *run.french.lemmas, withFunctionWords(o, run.form));
        for (const Attestation& a : run.results) {
            const WordTable::ReferenceId id = run.table.referenceId(a.first);
            std::string ref = run.table.referenceText(id);
            if (!run.renderings.count(ref))
                run.renderings.emplace(std::move(ref), eq.renderingOf(id, *run.french.lemmas));
        }
    }
    if (o.sort == SortOrder::Forms)
        sortResults(run.table, run.results, SortKeys::FormThenReference);
    else if (o.sort == SortOrder::Left || o.sort == SortOrder::Right)
        sortByNeighbour(run.table, run.results, o.sort == SortOrder::Left ? Neighbour::Left : Neighbour::Right,
                        run.folding);
}

// A list of one Latin form in text order, kept whole and with no column added. Every option
// that filters, orders or widens a list needs the word table and must send it there.
bool listTakesOnePass(const CliOptions& o)
{
    return o.action == CliAction::List && !readerOptionUsed(o) && !o.lemma
        && o.sort == SortOrder::Text;
}

} // namespace

bool searches(CliAction action)
{
    return outputOf(action) != nullptr;
}

int runSearch(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    const Output output = outputOf(options.action);
    if (!output)
        return kExitUsage;
    SearchRun run{options, {}, {}, false, {}, Folding::Case, {}, {}, {}, {}, {}};

    // Counting words of one form needs no word table, no list and no order: one pass of the
    // text, mapped where the system allows, so that nothing is copied and little is held at
    // once.
    if (options.action == CliAction::Count && !readerOptionUsed(options)) {
        OnePassText latin;
        latin.open(options.latinPath);
        if (latin.error())
            return reportFileError(err, latin.error());
        bool searchable = true;
        convertForm(options, err, run.form, searchable);
        std::size_t count = 0;
        if (searchable)
            latin.forEachPiece(LetterSet::Window,
                               [&](std::string_view piece) { count += countForms(piece, run.form); });
        if (!latin.intact()) {
            // Another program shortened the text while it was read: counted again as it is now.
            const TextReadResult again = readText(options.latinPath);
            if (again.error)
                return reportFileError(err, again.error);
            count = searchable ? countForms(again.text, run.form) : 0;
        }
        out << count << '\n';
        return finishOutput(out, err);
    }

    // A list of one Latin form in text order reads each word once, in order, and keeps none.
    if (listTakesOnePass(options))
        return writeListInOnePass(options, out, err);

    std::string searched;
    if (const int code = readSearchTexts(run, searched, err))
        return code;
    bool searchable = true;
    if (options.lemma)
        run.form = lemmaHeading(options.operands.front());
    else
        convertForm(options, err, run.form, searchable);
    run.folding = options.normalize ? Folding::Spelling : Folding::Case;
    const LetterSet letters = options.normalize ? LetterSet::Extended : LetterSet::Window;
    const std::string& searchedPath = options.frenchSide ? options.frenchPath : options.latinPath;
    if (const int code = unlessMemoryRunsShort(err, loadingWhat(searchedPath), [&] {
            run.table = WordTable::segment(std::move(searched), letters);
            return kExitOk;
        }))
        return code;
    // A lemma's attestations are the words of its forms, found through the lexicon.
    if (searchable && options.lemma) {
        run.lexicon = std::make_unique<lexicon::Lexicon>();
        if (const int code = loadLexicon(options, err, *run.lexicon))
            return code;
        run.lemmata = std::make_unique<TextLemmata>(TextLemmata::build(run.table, *run.lexicon));
        LemmaMatch match;
        if (const int code = matchLemma(options, *run.lexicon, *run.lemmata,
                                        options.operands.front(), err, match))
            return code;
        // A count by lemma is the sum of its forms' frequencies: no list is built.
        if (options.action == CliAction::Count && !options.frenchForm && !options.frenchLemma
            && options.excludedForms.empty()) {
            out << run.lemmata->wordCount(match.types) << '\n';
            return finishOutput(out, err);
        }
        run.results = run.lemmata->wordsOf(match.types);
    }
    // The dictionary is opened once a run; a form that can find nothing needs it only to
    // write the (empty) translations.
    if (options.action == CliAction::Translations
        || ((options.frenchLemma || options.equivalents) && searchable))
        if (const int code = openFrenchLemmas(options, err, run.french))
            return code;
    if (searchable)
        if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
                buildList(run);
                return kExitOk;
            }))
            return code;
    return output(run, out, err);
}

} // namespace quorvex
