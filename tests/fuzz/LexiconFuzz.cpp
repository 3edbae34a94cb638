// The lexicon reader: any bytes as its files read without crashing, every problem names a
// line of its file, and every analysis names lemmata that exist.

#include "FuzzInput.h"

#include "lexicon/Lexicon.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    lexicon::LexiconTexts texts;
    const std::string word = in.field();
    texts.models = in.field();
    texts.irregulars = in.field();
    texts.assimilations = in.field();
    texts.contractions = in.field();
    texts.glosses = in.field();
    texts.lemmata = in.rest();
    std::vector<lexicon::LexiconProblem> problems;
    const lexicon::Lexicon lexicon = lexicon::Lexicon::parse(texts, problems);
    for (const lexicon::LexiconProblem& p : problems)
        fuzz::check(p.kind == lexicon::ProblemKind::MalformedLine && p.line > 0
                        && !lexicon::describeProblem(p).empty(),
                    "a problem names its line");
    std::vector<lexicon::LemmaId> ids;
    lexicon.analyse(word, ids);
    for (const lexicon::LemmaId id : ids)
        fuzz::check(id < lexicon.lemmaCount(), "candidates exist");
    for (const lexicon::LemmaId id : lexicon.lemmataNamed(word))
        fuzz::check(id < lexicon.lemmaCount(), "named lemmata exist");
    for (const lexicon::LemmaId id : lexicon.neighbours(word.substr(0, 40), 5))
        fuzz::check(id < lexicon.lemmaCount(), "neighbours exist");
    return 0;
}
