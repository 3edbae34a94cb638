#include "cli/ReaderSearch.h"

#include "cli/CollocatesCommand.h"
#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "passages/BothSides.h"
#include "concordance/GridHeader.h"
#include "output/DispersionPlot.h"
#include "output/ExportFormats.h"
#include "output/KwicLines.h"
#include "output/OutputBuffer.h"
#include "output/PrintLayout.h"
#include "output/ResultFile.h"
#include "text/Cp1252.h"
#include "translation/Equivalents.h"

#include <ctime>
#include <unordered_map>

namespace quorvex {

namespace {

// The first reader's option given, for messages.
const char* readerOptionUsed(const CliOptions& o)
{
    if (o.normalize)
        return "--normalize";
    if (o.phrase)
        return "--phrase";
    if (o.frenchSide)
        return "--side french";
    if (o.frenchForm)
        return "--french-form";
    if (o.frenchLemma)
        return "--french-lemma";
    if (o.equivalents)
        return "--equivalents";
    return nullptr;
}

bool needsOtherText(const CliOptions& o)
{
    return o.frenchForm || o.frenchLemma || o.equivalents || o.action == CliAction::ResultFile
        || o.action == CliAction::Export || o.action == CliAction::Translations;
}

int writePlot(const CliOptions& options, const std::string& svg, std::ostream& out, std::ostream& err)
{
    if (*options.plotPath == "-") {
        out << svg;
        return finishOutput(out, err);
    }
    WriteControl control;
    control.expectedSize = static_cast<std::int64_t>(svg.size());
    control.latinPath = options.latinPath;
    control.frenchPath = options.frenchPath;
    const FileError e = writeFileReplacing(*options.plotPath, [&svg](std::ostream& file) {
        file << svg;
        return static_cast<bool>(file);
    }, control);
    return e ? reportFileError(err, e) : kExitOk;
}

// The lexicon and the candidate lemmata of every form of the searched text.
int loadLemmata(const CliOptions& options, std::ostream& err, ReaderSearch& into)
{
    into.lexicon = std::make_unique<lexicon::Lexicon>();
    if (const int code = loadLexicon(options, err, *into.lexicon))
        return code;
    into.lemmata = std::make_unique<TextLemmata>(TextLemmata::build(into.table, *into.lexicon));
    return kExitOk;
}

std::string plotOf(const ReaderSearch& search)
{
    return dispersionSvg(dispersionBands(search.table, search.attestations), search.form);
}

} // namespace

bool usesReaderSearch(const CliOptions& o)
{
    return readerOptionUsed(o) || o.plotPath || o.action == CliAction::Collocates
        || o.action == CliAction::Plot;
}

std::string finishReaderSearchOptions(CliOptions& o)
{
    if (o.action == CliAction::Help)
        return {};
    if (o.plotPath) {
        if (o.action == CliAction::ResultFile) {
            o.action = CliAction::Plot;
            o.actionOption = "--plot";
        } else if (o.action != CliAction::Export || o.format != ExportFormat::Html) {
            return "--plot s'emploie seul ou avec --format html, pas avec " + o.actionOption + ".";
        }
    }
    if (o.action == CliAction::Plot && o.outputPath)
        return "--output ne s'emploie pas avec --plot seul (l'image va dans le fichier de --plot).";
    if (o.format == ExportFormat::Tmx && (o.frenchSide || o.plotPath))
        return std::string("--format tmx a le latin pour langue source : pas avec ")
            + (o.frenchSide ? "--side french." : "--plot.");
    if (o.action == CliAction::Collocates && o.format == ExportFormat::Html)
        return "--collocates s'écrit en tsv ou en csv, pas en html.";
    if ((o.action == CliAction::Collocates || o.action == CliAction::Plot) && o.sort == SortOrder::Forms)
        return "--sort ne s'emploie pas avec " + o.actionOption + ".";
    if (const char* used = readerOptionUsed(o)) {
        if (o.action == CliAction::Frequencies || o.action == CliAction::Show
            || o.action == CliAction::PrintContext || o.action == CliAction::Check)
            return std::string(used) + " ne s'emploie pas avec " + o.actionOption + ".";
    }
    if ((o.frenchSide || o.frenchForm) && o.frenchPath.empty())
        return std::string(o.frenchSide ? "--side french" : "--french-form")
            + " demande le texte français (--french FICHIER).";
    if (o.frenchLemma && o.frenchPath.empty())
        return "--french-lemma demande le texte français (--french FICHIER).";
    if (o.frenchLemma && o.frenchSide)
        return "--french-lemma ne s'emploie pas avec --side french.";
    if (o.frenchSide && o.frenchForm)
        return "--french-form ne s'emploie pas avec --side french (la forme cherchée est déjà "
               "française).";
    return {};
}

int loadReaderSearch(const CliOptions& options, std::ostream& err, ReaderSearch& into)
{
    const bool other = needsOtherText(options) && !options.frenchPath.empty();
    // Latin first, then French, as the other commands read them.
    TextReadResult latin, french;
    if (!options.frenchSide || other) {
        latin = readText(options.latinPath);
        if (latin.error)
            return reportFileError(err, latin.error);
    }
    if (options.frenchSide || other) {
        french = readText(options.frenchPath);
        if (french.error)
            return reportFileError(err, french.error);
    }
    TextReadResult& searched = options.frenchSide ? french : latin;
    if (other)
        into.otherText = std::move(options.frenchSide ? latin.text : french.text);
    into.withOther = other;

    bool searchable = true;
    if (options.lemma)
        into.form = lemmaHeading(options.operands.front());
    else
        convertForm(options, err, into.form, searchable);
    into.folding = options.normalize ? Folding::Spelling : Folding::Case;
    into.letters = options.normalize ? LetterSet::Extended : LetterSet::Window;
    into.table = WordTable::segment(std::move(searched.text), into.letters);
    if (!searchable)
        return kExitOk;
    if (options.lemma) {
        if (const int code = loadLemmata(options, err, into))
            return code;
        LemmaMatch match;
        if (const int code = matchLemma(options, *into.lexicon, *into.lemmata,
                                        options.operands.front(), err, match))
            return code;
        into.attestations.reserve(match.words.size());
        for (const WordIndex w : match.words)
            into.attestations.push_back(Span{w, 1});
    } else {
        into.attestations = PhraseQuery(into.form, options.phrase, into.folding).find(into.table);
    }
    if (options.frenchForm)
        into.attestations = keepWhereOtherPassageHolds(
            into.table, into.attestations, into.otherText,
            WordPattern(*options.frenchForm, into.folding), into.letters);
    if (options.frenchLemma || options.equivalents || options.action == CliAction::Translations) {
        if (const int code = openFrenchLemmas(options, err, into.french))
            return code;
    }
    if (options.frenchLemma) {
        ResultList hits;
        hits.reserve(into.attestations.size());
        for (const Span& s : into.attestations)
            hits.push_back(static_cast<WordIndex>(s.first));
        const ResultList kept = keepWhereFrenchHoldsLemma(into.table, hits, into.otherText,
                                                          *into.french.lemmas, *options.frenchLemma);
        // Kept in order: walk both lists together.
        std::vector<Span> spans;
        spans.reserve(kept.size());
        std::size_t k = 0;
        for (const Span& s : into.attestations)
            if (k < kept.size() && kept[k] == s.first) {
                spans.push_back(s);
                ++k;
            }
        into.attestations = std::move(spans);
    }
    if (options.equivalents) {
        ResultList hits;
        hits.reserve(into.attestations.size());
        for (const Span& s : into.attestations)
            hits.push_back(static_cast<WordIndex>(s.first));
        const Equivalents eq = findEquivalents(into.table, hits, into.otherText, *into.french.lemmas,
                                               withFunctionWords(options, into.form));
        for (const WordIndex w : hits) {
            const WordTable::ReferenceId id = into.table.referenceId(w);
            std::string ref = into.table.referenceText(id);
            if (!into.renderings.count(ref))
                into.renderings.emplace(std::move(ref), eq.renderingOf(id, *into.french.lemmas));
        }
    }
    return kExitOk;
}

void toGrid(ReaderSearch& search, SortOrder sort, GridModel& grid)
{
    const WordTable& table = search.table;
    grid.setRows(2);
    grid.clear();
    prepareGrid(grid);
    grid.setRows(1);
    grid.reserveRows(search.attestations.size() + 1);
    for (const Span& s : search.attestations)
        grid.appendRow(spanForm(table, s), table.referenceText(table.referenceId(s.first)));
    grid.setRow(0);
    grid.setCol(0);
    if (search.attestations.empty())
        return;
    grid.setRow(search.attestations.size());
    grid.setCol(1);
    if (sort != SortOrder::Forms)
        return;
    grid.setColSel(0);
    grid.sort();
    // The sort is stable and a form never holds '\0': rows with one key keep their text order.
    std::unordered_map<std::string, std::vector<Span>> byKey;
    for (const Span& s : search.attestations)
        byKey[spanForm(table, s) + '\0' + table.referenceText(table.referenceId(s.first))].push_back(s);
    std::unordered_map<std::string, std::size_t> taken;
    for (std::size_t r = 1; r < grid.rows(); ++r) {
        const std::string key = grid.cell(r, 0) + '\0' + grid.cell(r, 1);
        search.attestations[r - 1] = byKey[key][taken[key]++];
    }
}

int runReaderSearchCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.action == CliAction::Collocates)
        return runCollocatesCommand(options, out, err);
    ReaderSearch search;
    if (const int code = loadReaderSearch(options, err, search))
        return code;
    const std::string& text = search.table.text();
    const std::string* other = search.withOther ? &search.otherText : nullptr;

    if (options.action == CliAction::Export && options.format == ExportFormat::Tmx) {
        ResultList hits;
        hits.reserve(search.attestations.size());
        for (const Span& s : search.attestations)
            hits.push_back(static_cast<WordIndex>(s.first));
        return writeTmx(options, out, err, search.table, hits, other);
    }
    switch (options.action) {
    case CliAction::Count:
        out << search.attestations.size() << '\n';
        return finishOutput(out, err);
    case CliAction::Plot:
        return writePlot(options, plotOf(search), out, err);
    case CliAction::Kwic: {
        if (options.sort == SortOrder::Forms) {
            GridModel grid;
            toGrid(search, options.sort, grid);
        }
        // The hits point at the reference texts: one string per reference of the table.
        std::vector<std::string> refs(search.table.referenceCount());
        for (std::size_t id = 0; id < refs.size(); ++id)
            refs[id] = search.table.referenceText(static_cast<WordTable::ReferenceId>(id));
        std::vector<KwicHit> hits;
        hits.reserve(search.attestations.size());
        for (const Span& s : search.attestations) {
            const std::string_view first = search.table.form(s.first);
            const std::string_view last = search.table.form(s.first + s.count - 1);
            hits.push_back(KwicHit{refs[search.table.referenceId(s.first)],
                                   static_cast<std::size_t>(first.data() - text.data()),
                                   static_cast<std::size_t>(last.data() + last.size() - first.data())});
        }
        writeKwicLines(out, text, hits, options.kwicWidth);
        return finishOutput(out, err);
    }
    default:
        break;
    }

    GridModel grid;
    toGrid(search, options.sort, grid);
    switch (options.action) {
    case CliAction::List: {
        OutputBuffer lines(out);
        std::string& buf = lines.buffer();
        for (std::size_t r = 1; r < grid.rows(); ++r) {
            buf += cp1252ToUtf8(grid.cell(r, 0));
            buf += '\t';
            buf += cp1252ToUtf8(grid.cell(r, 1));
            if (search.lemmata) {
                buf += '\t';
                buf += lemmataColumn(*search.lexicon, *search.lemmata, search.attestations[r - 1].first);
            }
            if (options.equivalents) {
                buf += '\t';
                buf += search.rendering(grid.cell(r, 1));
            }
            buf += '\n';
            lines.flushIfFull();
        }
        lines.flush();
        return finishOutput(out, err);
    }
    case CliAction::PrintList:
        out << describePrintOperations(attestationListLayout(grid));
        return finishOutput(out, err);
    case CliAction::ResultFile: {
        const std::string date = options.date ? *options.date : defaultDateText(std::time(nullptr));
        return writeOutput(
            options, out, err, [&] { return resultFileSize(grid, options.title, date, text, other); },
            [&](std::ostream& to) { writeResultFile(to, grid, options.title, date, text, other); });
    }
    case CliAction::Export: {
        std::string picture;
        if (options.plotPath) {
            picture = plotOf(search);
            if (const int code = writePlot(options, picture, out, err))
                return code;
        }
        ExportHeading heading{options.title, search.form, picture, options.frenchSide,
                              search.letters};
        std::unordered_map<std::string, std::string> lemmataByForm;
        if (search.lemmata) {
            // A form's lemmata depend on its spelling only: one column text per form.
            for (const Span& s : search.attestations) {
                const std::string_view form = search.table.form(s.first);
                auto [it, added] = lemmataByForm.try_emplace(std::string(form));
                if (added)
                    it->second = lemmataColumn(*search.lexicon, *search.lemmata, s.first);
            }
            heading.byLemma = true;
            heading.lemmata = [&lemmataByForm](std::string_view form) {
                const auto it = lemmataByForm.find(std::string(form));
                return it == lemmataByForm.end() ? std::string() : it->second;
            };
        }
        if (options.equivalents)
            heading.equivalents = [&search](std::string_view ref) { return search.rendering(ref); };
        const ExportFormat format = options.format.value_or(ExportFormat::Tsv);
        return writeOutput(
            options, out, err,
            [&] { return attestationExportSize(format, grid, text, other, heading); },
            [&](std::ostream& to) { writeAttestationExport(to, format, grid, text, other, heading); });
    }
    default:
        break;
    }
    return kExitUsage;
}

} // namespace quorvex
