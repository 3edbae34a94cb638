#pragma once
// A run that searches: the texts read, the searched one cut into words, the attestation list
// built once (form or phrase, spelling folded or not, either side, filtered by the other
// side's passages, sorted as asked), then handed to the output the action names. An output is
// one function in a file of its own and one row of the table in SearchRun.cpp.

#include "cli/CliOptions.h"
#include "cli/FrenchLemmaSource.h"
#include "concordance/ResultList.h"
#include "concordance/SearchResult.h"
#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"
#include "translation/TextAlignment.h"

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvex {

struct SearchRun {
    const CliOptions& options;
    SearchTexts texts;         // the texts the run read
    bool withOther = false;    // the other text of the pair was given and read
    FrenchLemmaSource french;  // opened for --french-lemma, --equivalents and --translations
    std::unique_ptr<lexicon::Lexicon> lexicon;  // with --lemma
    std::unique_ptr<lexicon::TagModel> tags;    // with --lemma: the tagger's counts, maybe empty
    SearchResult result;       // the list, with the table it indexes
    // --equivalents, --translations, --aligned: which French words render each Latin word.
    std::shared_ptr<const TextAlignment> alignment;

    const WordTable& table() const { return result.words(); }
    const ResultList& results() const { return result.list(); }
    // The form typed (Windows-1252), or the lemma's heading.
    const std::string& form() const { return result.form(); }
    Folding folding() const { return result.folding(); }
    // The lemmata of the text's forms under --lemma, else null.
    const TextLemmata* lemmata() const { return result.textLemmata(); }
    // The other text of the pair when read, else empty.
    const std::string& otherText() const { return texts.text(!options.search.frenchSide); }
    const std::string* other() const { return withOther ? &otherText() : nullptr; }
    // The French words aligned to the hit (UTF-8): "—" for none, "" without a French passage.
    std::string rendering(const Attestation& hit) const
    {
        if (!alignment || hit.words == 0 || !alignment->paired(hit.first))
            return {};
        return renderingText(alignment->renderingOf(hit), otherText());
    }
    LetterSet letters() const { return table().letterSet(); }
};

// Whether the action searches (and so goes through runSearch).
bool searches(CliAction action);

int runSearch(const CliOptions& options, std::ostream& out, std::ostream& err);

// The outputs; each writes `run` to `out` or to the --output file and returns an exit code.
int writeCount(const SearchRun& run, std::ostream& out, std::ostream& err);
int writeList(const SearchRun& run, std::ostream& out, std::ostream& err);
// The list of one Latin form in text order, written as writeList does it, from one pass over
// the text as it lies (mapped where the system allows): no word table, no copy of the text.
int writeListInOnePass(const CliOptions& options, std::ostream& out, std::ostream& err);
int writeKwic(const SearchRun& run, std::ostream& out, std::ostream& err);
int writeResultFileOutput(const SearchRun& run, std::ostream& out, std::ostream& err);
int writePrintList(const SearchRun& run, std::ostream& out, std::ostream& err);
int writeExport(const SearchRun& run, std::ostream& out, std::ostream& err);
int writeCollocates(const SearchRun& run, std::ostream& out, std::ostream& err);
// The collocates of one Latin form (folded or not) from one pass over the text as it lies,
// keeping each word's type alone: no word table, no copy of the text.
int writeCollocatesInOnePass(const CliOptions& options, std::ostream& out, std::ostream& err);
int writePlot(const SearchRun& run, std::ostream& out, std::ostream& err);
int writeTranslations(const SearchRun& run, std::ostream& out, std::ostream& err);

// The dispersion picture of the run, and its writing to the --plot file, "-" standard output
// (the export's page carries it too).
std::string plotSvg(const SearchRun& run);
int writePlotFile(const SearchRun& run, const std::string& svg, std::ostream& out, std::ostream& err);

} // namespace quorvex
