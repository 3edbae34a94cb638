#pragma once
// The search with the reader's options (--normalize, --phrase, --side, --french-form) and the
// commands that need it (--collocates, --plot): the texts read, the searched one segmented,
// the attestations found as spans of words and, for the outputs that read a grid, turned into
// rows (the form of a phrase being its words joined by one blank). Without these options the
// commands of the search window's own search run, unchanged.

#include "cli/CliOptions.h"
#include "cli/TranslationsCommand.h"
#include "concordance/GridModel.h"
#include "concordance/PhraseQuery.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"

#include <memory>

#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex {

// Whether the run goes through runReaderSearchCommand.
bool usesReaderSearch(const CliOptions& options);

// Called once the line is read: turns --plot alone into its action and refuses what does not
// go together. Returns a French message, or "".
std::string finishReaderSearchOptions(CliOptions& options);

struct ReaderSearch {
    WordTable table;         // the searched text, kept by the table
    std::string otherText;   // the other text of the pair, when read
    bool withOther = false;  // a French text was given and read
    std::string form;        // Windows-1252
    Folding folding = Folding::Case;
    LetterSet letters = LetterSet::Window;
    std::vector<Span> attestations;  // text order, or the grid's order after toGrid
    FrenchLemmaSource french;        // opened for --french-lemma, --equivalents and --translations
    // --equivalents: the rendering of each reference text of the list (UTF-8).
    std::unordered_map<std::string, std::string> renderings;
    std::string rendering(std::string_view reference) const
    {
        const auto it = renderings.find(std::string(reference));
        return it == renderings.end() ? std::string() : it->second;
    }
    // With --lemma: the lexicon and the candidate lemmata of the text's forms.
    std::unique_ptr<lexicon::Lexicon> lexicon;
    std::unique_ptr<TextLemmata> lemmata;
};

// Reads the texts the run needs, every one before any output. Returns kExitOk, or
// kExitFileError after the message.
int loadReaderSearch(const CliOptions& options, std::ostream& err, ReaderSearch& into);

// The attestations as the search window's grid would hold them; with SortOrder::Forms sorted
// as "Formes" sorts, and search.attestations put in the same order.
void toGrid(ReaderSearch& search, SortOrder sort, GridModel& grid);

// Count, list, KWIC, result file, print list, exports, --collocates and --plot.
int runReaderSearchCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
