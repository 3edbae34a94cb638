#pragma once
// What one run of quorvex-cli was asked to do: the options read from its command line, as
// data. The parser (CliOptions) fills it, the checks (CliChecks) complete it, SearchRun and
// the outputs read it.

#include "output/ExportFormats.h"
#include "output/KwicLines.h"

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
    Help,
    Version,     // the version and the licence
};

// Forms as the "Formes" button; Left and Right by the word before or after each attestation.
enum class SortOrder { Text, Forms, Left, Right };

struct CliOptions {
    CliAction action = CliAction::ResultFile;
    std::string actionOption;        // the option that chose the action, for messages
    std::string latinPath;           // UTF-8, as given
    std::string frenchPath;          // empty: no French text
    std::string title;               // Windows-1252
    std::optional<std::string> date; // Windows-1252; none: now
    SortOrder sort = SortOrder::Text;
    std::optional<std::string> outputPath;  // none: standard output
    std::vector<std::string> operands;      // the words that are not options, UTF-8
    std::string showReference;              // Windows-1252, brackets included
    std::optional<std::string> markForm;    // Windows-1252; none: nothing marked
    std::string printReference;             // Windows-1252, brackets included
    std::size_t kwicWidth = kDefaultKwicWidth;  // characters of context on each side
    std::optional<ExportFormat> format;     // --format; none: the command's own text
    bool normalize = false;                 // spelling folded, Š Œ Ž š œ ž Ÿ in words
    bool phrase = false;                    // the form is a sequence of forms
    std::optional<std::string> frenchForm;  // Windows-1252; a form the French passage must hold
    std::vector<std::string> excludedForms; // Windows-1252; forms left out of the list
    bool frenchSide = false;                // the French text is searched
    std::size_t collocateWindow = 0;        // --collocates N
    std::optional<std::string> plotPath;    // UTF-8, the SVG picture to write
    std::size_t top = 20;                   // --translations: rows written
    bool topGiven = false;
    std::optional<std::string> dictionaryPath;  // UTF-8, a Hunspell .dic; none: the system's
    bool allWords = false;                  // French function words counted too
    std::optional<std::string> frenchLemma; // UTF-8; a French lemma the French passage must hold
    bool equivalents = false;               // --list and exports: each hit's French equivalents
    bool lemma = false;                     // the form is a lemma of the Latin lexicon
    bool lemmaStrict = false;               // only words whose likeliest lemma it is
    std::optional<std::string> lexiconPath; // UTF-8, the lexicon's folder; none: looked for
    bool lexiconExtension = false;          // the lexicon's extension read too
};

} // namespace quorvex
