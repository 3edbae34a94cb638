#include "cli/SearchRun.h"

#include "cli/CliChecks.h"
#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "cli/TallyCount.h"
#include "system/CacheFolder.h"
#include "translation/Equivalents.h"
#include "translation/TextAlignment.h"

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
    return o.search.frenchForm || o.search.frenchLemma || o.equivalents || o.action == CliAction::ResultFile
        || o.action == CliAction::Export || o.action == CliAction::Translations;
}

// Reads every text the run needs before any output, Latin first. Returns kExitOk, or
// kExitFileError after the message.
int readSearchTexts(SearchRun& run, std::ostream& err)
{
    const CliOptions& o = run.options;
    run.withOther = needsOtherText(o) && !o.frenchPath.empty();
    if (!o.noCache)
        run.texts.keepAlignmentsIn(std::make_shared<const CacheFolder>(defaultCacheFolder()));
    return readTexts(o, err, run.texts, !o.search.frenchSide || run.withOther,
                     o.search.frenchSide || run.withOther);
}

// A list of one Latin form in text order, kept whole and with no column added. Every option
// that filters, orders or widens a list needs the word table and must send it there.
bool listTakesOnePass(const CliOptions& o)
{
    return o.action == CliAction::List && !readerOptionUsed(o) && !o.search.lemma
        && o.search.sort == SortOrder::Text;
}

// Collocates of one Latin form, its spelling folded or not: the neighbours need only the
// words' types, which a tally gives. A lemma, a phrase or a filter needs the word table.
bool collocatesTakeOnePass(const CliOptions& o)
{
    if (o.action != CliAction::Collocates)
        return false;
    CliOptions rest = o;
    rest.search.normalize = false;
    return rest.search.plain() && readerOptionUsed(rest) == nullptr;
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
    SearchRun run{options, {}, false, {}, {}, {}, {}, {}};

    if (countTakesTally(options))
        return runTallyCount(options, out, err);

    // Counting words of one form needs no word table, no list and no order: one pass of the
    // text, mapped where the system allows, so that nothing is copied and little is held at
    // once.
    if (options.action == CliAction::Count && !readerOptionUsed(options)) {
        OnePassText latin;
        if (const int code = openTextFile(options.latinPath, err, latin))
            return code;
        bool searchable = true;
        std::string form;
        convertForm(options, err, form, searchable);
        std::size_t count = 0;
        if (searchable)
            latin.forEachPiece(LetterSet::Window,
                               [&](std::string_view piece) { count += countForms(piece, form); });
        if (!latin.intact()) {
            // Another program shortened the text while it was read: counted again as it is now.
            std::string again;
            if (const int code = readTextFile(options.latinPath, err, again))
                return code;
            count = searchable ? countForms(again, form) : 0;
        }
        out << count << '\n';
        return finishOutput(out, err);
    }

    // A list of one Latin form in text order reads each word once, in order, and keeps none.
    if (listTakesOnePass(options))
        return writeListInOnePass(options, out, err);
    if (collocatesTakeOnePass(options))
        return writeCollocatesInOnePass(options, out, err);

    if (const int code = readSearchTexts(run, err))
        return code;
    bool searchable = true;
    if (!options.search.lemma) {
        std::string form;
        convertForm(options, err, form, searchable);
    }
    const std::string& searchedPath = options.search.frenchSide ? options.frenchPath : options.latinPath;
    if (const int code = unlessMemoryRunsShort(err, loadingWhat(searchedPath), [&] {
            run.texts.table(options.search.frenchSide, options.search.folding());
            return kExitOk;
        }))
        return code;
    if (options.search.lemma) {
        // A ranking of renderings shows neither the lemmata column nor the analyses: the
        // tagger is read only when it chooses the hits.
        const bool tagsChooseOrShow = options.action != CliAction::Translations || options.search.lemmaStrict
            || options.search.morph;
        if (const int code = loadLexicon(options, err, run.lexicon, tagsChooseOrShow ? &run.tags : nullptr))
            return code;
        if (const std::string refusal = morphRefusal(options.search, run.tags.get()); !refusal.empty()) {
            err << refusal << '\n';
            return kExitUsage;
        }
    }
    // The dictionary is opened once a run; a form that can find nothing needs it only to
    // write the (empty) translations.
    if (options.action == CliAction::Translations
        || ((options.search.frenchLemma || options.equivalents || options.search.aligned) && searchable)) {
        // The French text's hash names its stems and its alignment: computed once for both.
        const bool frenchOther = !options.search.frenchSide;
        if (const int code = openFrenchLemmas(options, frenchOther ? run.otherText() : std::string_view(), err,
                                              run.french,
                                              frenchOther && !options.noCache
                                                  ? std::optional<std::uint64_t>(run.texts.textHash(true))
                                                  : std::nullopt))
            return code;
        // Each French word then stands for one lemma, chosen over the whole text: read now for
        // a filter on the French passages, else by the alignment when it is not kept already.
        if (run.withOther && !options.search.frenchSide && options.search.frenchLemma && !options.search.aligned)
            run.french.lemmas->readText(*run.texts.table(true, Folding::Case));
    }
    const SearchAids aids{run.lexicon.get(), run.french.lemmas.get(), run.tags.get(), false};
    const SearchWants wants = options.action == CliAction::Count ? SearchWants::Count : SearchWants::List;
    // The renderings and the ranking read the alignment, learnt once (by the search itself
    // when a filter needs it first).
    const bool renders = (options.equivalents || options.action == CliAction::Translations) && run.withOther
        && !options.search.frenchSide;
    if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
            run.result = buildSearchResult(options.search, run.texts, aids, wants);
            if (renders && run.result.status() == QueryStatus::Searched)
                run.alignment = run.texts.alignment(run.result, *run.french.lemmas);
            // Without one, the ranking reads the passages word by word.
            else if (renders && !run.french.lemmas->textRead())
                run.french.lemmas->readText(*run.texts.table(true, Folding::Case));
            return kExitOk;
        }))
        return code;
    // How a lemma was understood, said before its list.
    err << run.result.lemmaLines();
    if (run.result.status() == QueryStatus::UnknownLemma)
        return kExitFileError;
    return output(run, out, err);
}

} // namespace quorvex
