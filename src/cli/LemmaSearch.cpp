#include "cli/LemmaSearch.h"

#include "cli/CommandCommon.h"
#include "concordance/LemmaMatch.h"
#include "lexicon/LexiconFolder.h"
#include "output/EquivalentsTable.h"
#include "output/ExportFormats.h"
#include "output/OutputBuffer.h"
#include "system/SystemFiles.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

namespace quorvex {

namespace {

void appendUtf8Record(std::string& out, bool csv, const std::vector<std::string_view>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += csv ? ',' : '\t';
        appendUtf8Field(out, csv ? ExportFormat::Csv : ExportFormat::Tsv, fields[i]);
    }
    out += csv ? "\r\n" : "\n";
}

// "95,8" for 0.958: the French decimal comma.
std::string percent(std::size_t part, std::size_t whole)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", whole == 0 ? 0.0 : 100.0 * double(part) / double(whole));
    std::string s = buf;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

} // namespace

int loadLexicon(const CliOptions& options, std::ostream& err, lexicon::Lexicon& into)
{
    const lexicon::LexiconLookup lookup =
        lexicon::lookUpLexicon(lexicon::lexiconPlacesOfThisProgram(options.lexiconPath));
    if (!lookup.folder) {
        err << lexicon::describeMissingLexicon(lookup.tried) << '\n';
        return kExitFileError;
    }
    lexicon::LexiconProblem failure;
    std::vector<lexicon::LexiconProblem> malformed;  // a bad line costs its lemma, not the run
    into = lexicon::Lexicon::load(*lookup.folder, options.lexiconExtension, failure, malformed);
    if (failure.kind == lexicon::ProblemKind::OutOfMemory)
        return reportMemoryShort(err, "le lexique latin");
    if (failure) {
        err << lexicon::describeProblem(failure) << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

int matchLemma(const CliOptions& options, const lexicon::Lexicon& lexicon,
               const TextLemmata& lemmata, const std::string& typed, std::ostream& err,
               LemmaMatch& into)
{
    LemmaMatchResult match = matchLemmaTypes(lexicon, lemmata, typed, options.lemmaStrict);
    err << match.lines;
    if (match.kind == LemmaMatchKind::Unknown)
        return kExitFileError;
    into.lemmata = std::move(match.lemmata);
    into.types = std::move(match.types);
    return kExitOk;
}

std::string lemmataColumn(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                          std::size_t word)
{
    const TextLemmata::Candidates c = lemmata.candidates(lemmata.typeOf(word));
    return lexicon.spellings(std::vector<lexicon::LemmaId>(c.begin(), c.end()));
}

namespace {

void writeLemmaFrequencies(std::ostream& out, std::ostream& err, const CliOptions& options,
                           const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                           const WordTable& table)
{
    struct Row {
        std::size_t attestations = 0, forms = 0, ambiguous = 0;
    };
    std::map<lexicon::LemmaId, Row> byLemma;
    std::vector<Row> unexplained(lemmata.typeCount());
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type) {
        const TextLemmata::Candidates c = lemmata.candidates(type);
        const std::size_t n = lemmata.typeFrequency(type);
        if (c.empty())
            unexplained[type].attestations = n;
        for (const lexicon::LemmaId id : c) {
            Row& row = byLemma[id];
            row.attestations += n;
            if (c.size > 1)
                row.ambiguous += n;
        }
    }
    for (const TextLemmata::TypeId type : lemmata.writtenFormTypes()) {
        const TextLemmata::Candidates c = lemmata.candidates(type);
        if (c.empty())
            ++unexplained[type].forms;
        for (const lexicon::LemmaId id : c)
            ++byLemma[id].forms;
    }

    struct Line {
        std::string name;
        const std::string* gloss;
        Row row;
    };
    static const std::string noGloss;
    std::vector<Line> lines, rest;
    for (const auto& [id, row] : byLemma)
        lines.push_back({lexicon.lemma(id).spelling, &lexicon.lemma(id).gloss, row});
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type)
        if (unexplained[type].attestations > 0)
            rest.push_back({std::string(lemmata.typeForm(type)), &noGloss, unexplained[type]});
    const auto order = [](const Line& a, const Line& b) {
        if (a.row.attestations != b.row.attestations)
            return a.row.attestations > b.row.attestations;
        return a.name < b.name;
    };
    std::sort(lines.begin(), lines.end(), order);
    std::sort(rest.begin(), rest.end(), order);

    const bool csv = options.format == ExportFormat::Csv;
    OutputBuffer buffer(out);
    std::string& buf = buffer.buffer();
    appendUtf8Record(buf, csv, {"lemme", "glose", "attestations", "formes", "ambiguës"});
    for (const std::vector<Line>* part : {&lines, &rest}) {
        for (const Line& line : *part) {
            const std::string a = std::to_string(line.row.attestations);
            const std::string f = std::to_string(line.row.forms);
            const std::string m = std::to_string(line.row.ambiguous);
            appendUtf8Record(buf, csv, {line.name, *line.gloss, a, f, m});
            buffer.flushIfFull();
        }
    }
    buffer.flush();
    err << "Mots expliqués par le lexique : " << percent(lemmata.explainedWords(), table.size())
        << " % (" << lemmata.explainedWords() << " sur " << table.size() << ").\n";
}

} // namespace

int runLemmaFrequencies(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    TextReadResult latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    const WordTable table = WordTable::segment(std::move(latin.text), LetterSet::Extended);
    lexicon::Lexicon lexicon;
    if (const int code = loadLexicon(options, err, lexicon))
        return code;
    const TextLemmata lemmata = TextLemmata::build(table, lexicon);
    writeLemmaFrequencies(out, err, options, lexicon, lemmata, table);
    return finishOutput(out, err);
}

} // namespace quorvex
