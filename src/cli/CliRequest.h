#pragma once
// What one run of quorvex-cli was asked to do: the options read from its command line, as
// data. The parser (CliOptions) fills it, the checks (CliChecks) complete it, SearchRun and
// the outputs read it.

#include "output/ExportFormats.h"
#include "output/KwicLines.h"
#include "concordance/SearchRequest.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvex {

constexpr int kExitOk = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitTextsDisagree = 3;  // --check found the references at odds

// What the run produces. One action per run.
enum class CliAction {
    ResultFile,  // the file the save writes (the default)
    Count,       // the number of attestations
    List,        // one "form<TAB>reference" line per attestation
    Show,        // what the context viewer shows for one reference
    PrintList,   // the attestation printout, one printer operation a line
    PrintContext,  // the context printout of one reference, likewise
    Kwic,          // one line per attestation, the form between its contexts
    Export,        // the attestations with their passages as TSV, CSV or HTML
    Frequencies,   // the distinct forms matched, with their counts
    Check,         // the references of the two texts compared, without a query
    Collocates,    // the words near the attestations, counted and scored
    Plot,          // the dispersion picture alone
    Translations,  // the French lemmas that render the searched word, ranked
    LexiconCheck,  // every line of the Latin lexicon that cannot be read
    Help,
    Version,     // the version and the licence
};

struct CliOptions {
    CliAction action = CliAction::ResultFile;
    std::string actionOption;        // the option that chose the action, for messages
    std::string latinPath;           // UTF-8, as given
    std::string frenchPath;          // empty: no French text
    std::string title;               // Windows-1252
    std::optional<std::string> date; // Windows-1252; none: now
    std::optional<std::string> outputPath;  // none: standard output
    std::vector<std::string> operands;      // the words that are not options, UTF-8
    // The search: the form (the one operand) and every option that shapes the list.
    SearchRequest search;
    std::string showReference;              // Windows-1252, brackets included
    std::optional<std::string> markForm;    // Windows-1252; none: nothing marked
    std::string printReference;             // Windows-1252, brackets included
    std::size_t kwicWidth = kDefaultKwicWidth;  // characters of context on each side
    std::optional<ExportFormat> format;     // --format; none: the command's own text
    std::size_t collocateWindow = 0;        // --collocates N
    std::optional<std::string> plotPath;    // UTF-8, the SVG picture to write
    std::size_t top = 20;                   // --translations: rows written
    bool topGiven = false;
    std::optional<std::string> dictionaryPath;  // UTF-8, a Hunspell .dic; none: the system's
    bool allWords = false;                  // French function words counted too
    bool noCache = false;                   // the cache folder neither read nor written
    bool equivalents = false;               // --list and exports: each hit's French equivalents
    std::optional<std::string> lexiconPath; // UTF-8, the lexicon's folder; none: looked for
    bool lexiconExtension = false;          // the lexicon's extension read too
};

} // namespace quorvex
