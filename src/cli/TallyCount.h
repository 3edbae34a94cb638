#pragma once
// Counts and lists that need the text's distinct forms and their frequencies only (a count by
// lemma or by folded spelling, the lemma frequencies): one pass over the text as it lies
// gathers them, with no word table, while a second thread reads the lexicon.

#include "cli/CliOptions.h"
#include "concordance/FormTally.h"
#include "concordance/TextLemmata.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"
#include "text/TextFile.h"

#include <memory>
#include <ostream>

namespace quorvex {

// Whether the options ask for a count that the tally answers.
bool countTakesTally(const CliOptions& options);
// --count with --lemma or --normalize, as the word table's run would count.
int runTallyCount(const CliOptions& options, std::ostream& out, std::ostream& err);

// The Latin text's tally and, as `use` asks, the lexicon and the lemmata of the text's forms,
// read and analysed by a second thread while the pass goes on. kExitOk, or an exit
// code after the message (the text's first, as a run that reads the text first says it).
struct TalliedText {
    std::unique_ptr<FormTally> forms;
    std::unique_ptr<lexicon::Lexicon> lexicon;
    std::unique_ptr<lexicon::TagModel> tags;  // with LexiconUse::ReadWithTags
    std::unique_ptr<TextLemmata> lemmata;
    // The text as the pass read it, kept whole when asked for a second pass.
    std::unique_ptr<OnePassText> latin;
};
enum class LexiconUse { None, Read, ReadWithTags, ReadAndAnalyse };
int tallyLatinText(const CliOptions& options, LetterSet letters, LexiconUse use,
                   std::ostream& err, TalliedText& into, bool keepText = false);

} // namespace quorvex
