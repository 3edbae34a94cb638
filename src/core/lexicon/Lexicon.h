#pragma once
// The Latin lexicon: inflection models, lemmata with their roots, irregular forms,
// assimilated prefixes, contracted endings and French glosses, read from the data files
// of the Collatinus project (modeles.la, lemmes.la, irregs.la, assimilations.la,
// contractions.la, lemmes.fr; lem_ext.la and lem_ext.fr on request). Read once; then it
// answers which lemmata a folded form (a-z, see LatinSpelling.h) may belong to, by its
// irregular forms first, then by cutting an ending and looking the rest up as a root.
//
// Failures are values: a file missing or unreadable stops the reading; a malformed line is
// reported with its file and line number and the rest is read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {
class CacheFolder;
}

namespace quorvex::lexicon {

using LemmaId = std::uint32_t;

enum class ProblemKind {
    None,
    MissingFile,     // the folder or one of its files is not there
    UnreadableFile,  // there, but the system refuses to read it (err), or it is no file
    OutOfMemory,
    MalformedLine,   // file, line and what is wrong with it
};

struct LexiconProblem {
    ProblemKind kind = ProblemKind::None;
    std::string file;       // path of the file
    std::size_t line = 0;   // 1-based, for a malformed line
    std::string detail;     // what is wrong, French, lower case
    int err = 0;            // errno of an unreadable file

    explicit operator bool() const noexcept { return kind != ProblemKind::None; }
};

// A French sentence naming the file (and line), for the windows and the CLI.
std::string describeProblem(const LexiconProblem& problem);

// The files' contents, for reading without the disk (tests, fuzzing). Names are only used
// in problems.
struct LexiconTexts {
    std::string models, lemmata, irregulars, assimilations, contractions, glosses;
    std::string extensionLemmata, extensionGlosses;  // empty: no extension
};

// Its strings live as long as the lexicon.
struct Lemma {
    std::string_view spelling;   // as lists show it: no quantity marks, homograph digit kept
    std::string_view folded;     // a-z, without the digit: what a reader types
    std::uint16_t homograph = 1; // 1 for the unnumbered one, then 2, 3...
    std::uint32_t frequency = 0; // in the lexicon's reference corpus
    std::string_view gloss;      // French, may be empty
    // A preposition, conjunction or pronoun by the entry's indication ("prép. + acc.",
    // "conj. coord.", "pron."): a word of the closed classes.
    bool closedClass = false;
};

// One reading of a form: its lemma and its morphology (the number of morphos.fr: 1 is
// "nominatif singulier", 416 "inv.").
struct Analysis {
    LemmaId lemma = 0;
    std::uint16_t morpho = 0;
    bool operator==(const Analysis& o) const noexcept { return lemma == o.lemma && morpho == o.morpho; }
};

// Every reading of a form, and the enclitic taken off it to find them.
struct FormAnalyses {
    std::vector<Analysis> readings;  // most frequent lemma first, each (lemma, morphology) once
    enum class Enclitic : std::uint8_t { None, Que, Ne, Ue } enclitic = Enclitic::None;
};

class LexiconData;

class Lexicon {
public:
    Lexicon();
    ~Lexicon();
    Lexicon(Lexicon&&) noexcept;
    Lexicon& operator=(Lexicon&&) noexcept;

    // Reads the folder's files; `withExtension` adds lem_ext.la and lem_ext.fr.
    // `failure` is set (and the lexicon left empty) when a file cannot be read;
    // `malformed` receives one problem per malformed line.
    static Lexicon load(const std::string& folder, bool withExtension, LexiconProblem& failure,
                        std::vector<LexiconProblem>& malformed);
    // The same through an image of the read tables in `cache`, keyed by the identity of every
    // file read (size, modification time, content) and the program's way of reading them:
    // the files are still read and hashed, but parsed only when no image of them is there
    // or it is damaged, and the image is then written again. A cache that cannot be read or
    // written is no cache. `use` says which it was.
    enum class ImageUse { None, Read, Written };
    static Lexicon load(const std::string& folder, bool withExtension, LexiconProblem& failure,
                        std::vector<LexiconProblem>& malformed, const CacheFolder& cache,
                        ImageUse* use = nullptr);
    // The same from contents. Throws std::bad_alloc when memory runs short.
    static Lexicon parse(const LexiconTexts& texts, std::vector<LexiconProblem>& malformed);

    std::size_t lemmaCount() const noexcept;
    Lemma lemma(LemmaId id) const noexcept;

    // The candidate lemmata of a folded form, most frequent first (then in the lexicon's
    // order), each once: appended to `out`. Irregular forms and regular ones; failing both,
    // the form with an assimilated prefix or a contracted ending restored; failing that, the
    // form without an enclitic -que, -ne or -ue when at least two letters remain.
    void analyse(std::string_view folded, std::vector<LemmaId>& out) const;
    // The same with each reading's morphology: the analyses the tagger chooses from.
    FormAnalyses analyses(std::string_view folded) const;
    // The lemma's part of speech as its model (or, for an invariable word, its note) gives it:
    // 'n' noun, 'a' adjective, 'p' pronoun, 'm' numeral, 'v' verb, 'd' adverb, 'c'
    // conjunction, 'r' preposition, 'i' interjection.
    char partOfSpeech(LemmaId id) const noexcept;

    // Whether the form itself, without taking an enclitic off, belongs to some lemma.
    bool knowsForm(std::string_view folded) const;

    // The lemmata a reader's name designates (UTF-8, quantity marks allowed, digit optional):
    // "edo" every homograph, "edo1" the unnumbered one, "edo2" the second. In the
    // lexicon's order. Empty when none (or when the name holds no usable letters).
    std::vector<LemmaId> lemmataNamed(std::string_view typed) const;

    // A quick first test of many forms against a few lemmata: false when analyse(folded)
    // cannot give any of them, since no stem or irregular form of theirs begins the form nor
    // any spelling analyse would try for it (a prefix assimilated or not, a contracted ending
    // restored, an enclitic taken off); true leaves the answer to analyse.
    class FormFilter {
    public:
        bool mayGive(std::string_view folded) const;

    private:
        friend class Lexicon;
        bool begunByOne(std::string_view spelling) const;
        const LexiconData* m_data = nullptr;
        std::vector<std::vector<std::string>> m_starts;  // by first letter
        bool m_anyStart = false;                         // an empty stem begins every form
    };
    FormFilter formFilter(const std::vector<LemmaId>& lemmata) const;

    // Every folded spelling for which analyse may give one of `lemmata`, and a few more: the
    // forms their models and irregular forms make, then each spelling analyse would read as
    // one of those (a prefix assimilated or not, a contracted or short ending, a later
    // spelling, an enclitic added). Sorted, each once. A count of the lemmata's words need
    // only look at the words so spelt, and analyse those.
    std::vector<std::string> spellingsOf(const std::vector<LemmaId>& lemmata) const;

    // Up to `max` lemmata at the smallest edit distance from `folded`, then by frequency.
    std::vector<LemmaId> neighbours(std::string_view folded, std::size_t max) const;

    // The spellings joined by ", ", as the lemmata column writes them.
    std::string spellings(const std::vector<LemmaId>& ids) const;

private:
    std::unique_ptr<LexiconData> m_data;
};

} // namespace quorvex::lexicon
