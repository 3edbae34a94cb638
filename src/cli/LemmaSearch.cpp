#include "cli/LemmaSearch.h"

#include "cli/CommandCommon.h"
#include "cli/TallyCount.h"
#include "concordance/LemmaFrequencies.h"
#include "concordance/LemmaMatch.h"
#include "lexicon/LexiconFolder.h"
#include "lexicon/LexiconLoad.h"
#include "output/EquivalentsTable.h"
#include "output/ExportFormats.h"
#include "output/OutputBuffer.h"
#include "system/CacheFolder.h"
#include "system/SystemFiles.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

// What stopped the lexicon's reading, said; kExitOk when it was read.
int lexiconFailure(const lexicon::LexiconLoad& load, std::ostream& err)
{
    if (!load.folder) {
        err << lexicon::describeMissingLexicon(load.tried) << '\n';
        return kExitFileError;
    }
    if (load.failure.kind == lexicon::ProblemKind::OutOfMemory)
        return reportMemoryShort(err, "le lexique latin");
    if (load.failure) {
        err << lexicon::describeProblem(load.failure) << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace

int loadLexicon(const CliOptions& options, std::ostream& err, std::unique_ptr<lexicon::Lexicon>& into,
                std::unique_ptr<lexicon::TagModel>* tags)
{
    const CacheFolder cache = options.noCache ? CacheFolder() : CacheFolder(defaultCacheFolder());
    lexicon::LexiconLoad load = lexicon::loadLexicon(options.lexiconPath, options.lexiconExtension, tags != nullptr, cache);
    if (const int code = lexiconFailure(load, err))
        return code;
    // A line that cannot be read costs its lemma, not the run; it is never silent.
    if (!load.malformed.empty())
        err << "quorvex-cli : attention : " << lexicon::unreadableLinesWarning(load.malformed) << '\n';
    into = std::make_unique<lexicon::Lexicon>(std::move(load.lexicon));
    if (tags)
        *tags = std::make_unique<lexicon::TagModel>(std::move(load.tags));
    return kExitOk;
}

int runLexiconCheck(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // The check reads the files themselves, never an image of them.
    const lexicon::LexiconLoad load =
        lexicon::loadLexicon(options.lexiconPath, options.lexiconExtension, true, CacheFolder());
    if (const int code = lexiconFailure(load, err))
        return code;
    for (const lexicon::LexiconProblem& line : load.malformed)
        out << lexicon::describeProblem(line) << '\n';
    if (load.malformed.empty())
        out << "Le lexique " << *load.folder << " se lit en entier : " << load.lexicon.lemmaCount()
            << " lemmes.\n";
    if (const int code = finishOutput(out, err))
        return code;
    return load.malformed.empty() ? kExitOk : kExitFileError;
}

namespace {

void writeLemmaFrequencies(std::ostream& out, std::ostream& err, const CliOptions& options,
                           const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                           std::size_t words)
{
    const bool csv = options.format == ExportFormat::Csv;
    OutputBuffer buffer(out);
    std::string& buf = buffer.buffer();
    appendUtf8Record(buf, csv, {"lemme", "glose", "attestations", "formes", "ambiguës"});
    for (const LemmaFrequency& line : lemmaFrequencies(lexicon, lemmata)) {
        const std::string a = std::to_string(line.attestations);
        const std::string f = std::to_string(line.forms);
        const std::string m = std::to_string(line.ambiguous);
        appendUtf8Record(buf, csv, {line.name, line.gloss, a, f, m});
        buffer.flushIfFull();
    }
    buffer.flush();
    err << "Mots expliqués par le lexique : " << percent(lemmata.explainedWords(), words)
        << " % (" << lemmata.explainedWords() << " sur " << words << ").\n";
}

} // namespace

int runLemmaFrequencies(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // Frequencies by lemma need each distinct form's count, not its words: no word table.
    TalliedText text;
    if (const int code = tallyLatinText(options, LetterSet::Extended, LexiconUse::ReadAndAnalyse, err, text))
        return code;
    writeLemmaFrequencies(out, err, options, *text.lexicon, *text.lemmata, text.forms->wordCount());
    return finishOutput(out, err);
}

} // namespace quorvex
