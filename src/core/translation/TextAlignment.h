#pragma once
// Which French words render each Latin word: the two texts cut into passage pairs (a
// reference with a passage in both), each side as lemma ids (the Latin lemmata when a lexicon
// is there, else the spelling-folded forms; the French lemmas), aligned by
// translation/WordAlignment.h. A capitalised Latin word spelt like a capitalised French word
// of its passage (Abraham, Jesu and Jésus, Salomonem and Salomon) is a name, rendered by that
// word alone, however rare.
//
// Built once per pair of texts and then only read. Everything is flat arrays indexed by word
// and token numbers: with a cache folder the whole of it, with the French lemmas it names, is
// kept as one image for the two texts, the lexicon's reading of the Latin forms and the
// dictionary, and a later run uses that image where it lies, without cutting the French
// text or reading its lemmas again.

#include "concordance/PhraseQuery.h"
#include "concordance/ResultList.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "passages/FormMarking.h"
#include "passages/ReferencePassages.h"
#include "translation/FrenchLemmas.h"
#include "translation/WordAlignment.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class CacheEntry;
class CacheFolder;

class TextAlignment {
public:
    // A word of the French text, by its place in that text.
    struct FrenchWord {
        std::uint32_t offset = 0;
        std::uint32_t length : 31;
        std::uint32_t functionWord : 1;  // an article, auxiliary, pronoun... of the French list
        FrenchLemmas::LemmaId lemma = 0;
    };

    TextAlignment() = default;

    // Whether the Latin word's reference has a French passage (so its rendering means
    // something, even when it is none).
    bool paired(std::size_t latinWord) const noexcept
    {
        return latinWord < m_latinWords && m_tokenOfWord[latinWord] != kUnpaired;
    }
    // Calls f(const FrenchWord&) for the French words that render the Latin word, most
    // probable first, the French function words after the others (an auxiliary after its
    // participle, an article after its noun).
    template <typename F>
    void forEachRendering(std::size_t latinWord, F&& f) const
    {
        if (!paired(latinWord))
            return;
        const std::uint32_t token = m_tokenOfWord[latinWord];
        for (const std::uint32_t function : {0u, 1u})
            for (const std::uint32_t* p = m_alignment.linksBegin(token); p != m_alignment.linksEnd(token); ++p)
                if (m_frenchWords[*p].functionWord == function)
                    f(m_frenchWords[*p]);
    }
    // The French words rendering an attestation's words (a phrase's in its words' order),
    // each once, in order of rendering.
    std::vector<FrenchWord> renderingOf(const Attestation& hit) const;

    const WordAlignment& alignment() const noexcept { return m_alignment; }
    std::size_t pairedPassages() const noexcept { return m_pairedPassages; }

    // What the ranking of equivalents reads of every passage, counted once while the pairs
    // were made. By French lemma: the passages holding it (once a passage), counting the
    // function words (article, auxiliary...) and function lemmas or not.
    // Each array holds lemmaSlots() counts.
    const std::uint32_t* passagesHolding(bool withFunctionWords) const noexcept
    {
        return m_passagesHolding[withFunctionWords ? 1 : 0];
    }
    std::size_t lemmaSlots() const noexcept { return m_lemmaSlots; }
    // Whether every French word stood for one lemma (the French lemmas had read the text), so
    // that a word's lemma here is all of its lemmas.
    bool oneLemmaAWord() const noexcept { return m_oneLemmaAWord; }
    // The French words of a Latin reference's passage; false when it has none in French.
    bool frenchWordsOf(WordTable::ReferenceId reference, const FrenchWord*& begin, const FrenchWord*& end) const
    {
        const std::size_t at = 2 * std::size_t(reference);
        if (at >= m_referenceSlots || m_frenchOfReference[at] == kUnpaired)
            return false;
        begin = m_frenchWords + m_frenchOfReference[at];
        end = m_frenchWords + m_frenchOfReference[at + 1];
        return true;
    }

    // The image kept in the cache folder: these arrays, the alignment, and the French lemmas
    // they name (each lemma's text and whether it is a function word).
    std::string image(const FrenchLemmas& lemmas) const;
    // The alignment an image holds, its arrays used where they lie while `entry` lives, and
    // its lemmas given to `lemmas` (which must have none yet, or the same first ones); nothing
    // when the image does not fit texts of so many Latin words and references and so many
    // French bytes.
    static std::optional<TextAlignment> fromImage(std::shared_ptr<const CacheEntry> entry, std::size_t latinWords,
                                                  std::size_t references, std::size_t frenchBytes,
                                                  FrenchLemmas& lemmas);

private:
    friend TextAlignment alignTexts(const WordTable&, const WordTable&, FrenchLemmas&, const TextLemmata*,
                                    const AlignmentSettings&, const CacheFolder*, const AlignmentProgress&);
    static constexpr std::uint32_t kUnpaired = 0xFFFFFFFFu;
    struct Owned;

    // Views of the arrays, held by m_keep (the arrays built here, or a cache entry).
    std::shared_ptr<const void> m_keep;
    const std::uint32_t* m_tokenOfWord = nullptr;  // by Latin word: its token in the alignment
    std::size_t m_latinWords = 0;
    const FrenchWord* m_frenchWords = nullptr;     // by French token
    std::size_t m_frenchTokens = 0;
    WordAlignment m_alignment;
    std::size_t m_pairedPassages = 0;
    const std::uint32_t* m_passagesHolding[2] = {nullptr, nullptr};  // by French lemma
    std::size_t m_lemmaSlots = 0;
    bool m_oneLemmaAWord = true;
    // By Latin reference, two each: its passage's first French token and the end of them.
    const std::uint32_t* m_frenchOfReference = nullptr;
    std::size_t m_referenceSlots = 0;
};

// The key of the image of the alignment of these two texts (their bytes as held), the Latin
// side read as `latinLemmata` gives it (or folded forms), the French side through `lemmas`'
// dictionary, with these settings. Empty when the dictionary cannot be named: then no image.
std::string alignmentImageKey(const WordTable& latin, std::string_view frenchText, const FrenchLemmas& lemmas,
                              const TextLemmata* latinLemmata, const AlignmentSettings& settings = {});
// The same with the contentHash() of the Latin table's text and of the French text known.
std::string alignmentImageKey(const WordTable& latin, std::uint64_t latinHash, std::string_view frenchText,
                              std::uint64_t frenchHash, const FrenchLemmas& lemmas, const TextLemmata* latinLemmata,
                              const AlignmentSettings& settings = {});
// The kind of entry the image is kept under.
inline constexpr std::string_view kAlignmentImageKind = "text-alignment";

// Aligns the Latin text's words with `frenchText` (Windows-1252). `latinLemmata` may be null
// (each spelling-folded form is then its own lemma). With a cache folder, the training's
// links are read from it when these texts were aligned before, and kept there otherwise.
// Throws std::bad_alloc when memory runs short, AlignmentStopped when `progress` says stop.
TextAlignment alignTexts(const WordTable& latin, std::string_view frenchText, FrenchLemmas& frenchLemmas,
                         const TextLemmata* latinLemmata, const AlignmentSettings& settings = {},
                         const CacheFolder* cache = nullptr, const AlignmentProgress& progress = {});
// The same over the French text's word table (cut with the French letters), whose words are
// read by their types.
TextAlignment alignTexts(const WordTable& latin, const WordTable& french, FrenchLemmas& frenchLemmas,
                         const TextLemmata* latinLemmata, const AlignmentSettings& settings = {},
                         const CacheFolder* cache = nullptr, const AlignmentProgress& progress = {});

// The hits whose rendering holds a word of the lemma `utf8Lemma` (folded for case before it is
// compared), order kept.
ResultList keepWhereAlignedToLemma(const ResultList& hits, const TextAlignment& alignment,
                                   const FrenchLemmas& lemmas, std::string_view utf8Lemma);

// The hits whose rendering holds a word that `pattern` matches, order kept.
ResultList keepWhereAlignedToForm(const ResultList& hits, const TextAlignment& alignment,
                                  std::string_view frenchText, const WordPattern& pattern);

// Where the words (of the reference's French passage) stand in `pane`, the passage as the
// viewer shows it: its marker, then its stretches. A word whose bytes are not there (the file
// changed since it was aligned) is left out. In text order.
std::vector<MarkRange> renderingMarks(const std::vector<TextAlignment::FrenchWord>& words,
                                      const ReferencePassages& french, WordTable::ReferenceId reference,
                                      std::string_view frenchText, std::string_view pane);

// The French words as written, joined by ", ", UTF-8; "—" for none.
std::string renderingText(const std::vector<TextAlignment::FrenchWord>& words, std::string_view frenchText);

// Whether two capitalised words, a Latin one and a French one, are one name: equal once
// spelling-folded, or sharing a beginning of at least four letters that is at least half of
// the longer one (Salomonem, Salomon; Galilæam, Galilée).
bool spelledAlike(std::string_view latinCp1252, std::string_view frenchCp1252);

} // namespace quorvex
