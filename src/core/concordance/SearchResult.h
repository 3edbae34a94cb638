#pragma once
// A search carried out: the two texts with the word tables cut from them, and the one
// function that turns a SearchRequest into its list. The list comes back together with the
// word table it indexes (a SearchResult), so no reader can pair a list with another table:
// the KWIC lines, the collocates, the dispersion and every output read both from it.

#include "concordance/LemmaMatch.h"
#include "concordance/NeighbourSort.h"
#include "concordance/ResultList.h"
#include "concordance/SearchRequest.h"
#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "concordance/TextTagging.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"
#include "text/TextFile.h"
#include "translation/AlignmentProgress.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class CacheFolder;
class FrenchLemmas;
class SearchResult;
class TextAlignment;

// The Latin text and its French translation (Windows-1252), and the tables cut from them as
// searches ask: the Latin text with the window's letters, or with the extended ones when the
// spelling is folded; the French text with the French letters, one table for both foldings.
// A table is cut the first time it is asked for and kept; the first one of a text takes the
// text over, so a text read for one search is held once.
class SearchTexts {
public:
    SearchTexts();
    ~SearchTexts();
    SearchTexts(SearchTexts&&) noexcept;
    SearchTexts& operator=(SearchTexts&&) noexcept;

    // Each forgets what was cut from the text it replaces.
    void setLatin(std::string text);
    void setLatin(WordTable windowLetters);  // already cut with the window's letters
    void setFrench(std::string text);
    // The same from a file, read as readText reads a text; on failure the error, and what
    // was held stays.
    FileError readLatin(const std::string& path);
    FileError readFrench(const std::string& path);
    bool hasLatin() const { return m_latin.given; }
    bool hasFrench() const { return m_french.given; }

    // The text as read; empty when not given.
    const std::string& text(bool french) const;
    // contentHash() of that text, computed once: the cache keys of both programs name it.
    std::uint64_t textHash(bool french) const;
    // The table cut with the folding's letters. Throws std::bad_alloc, std::length_error.
    std::shared_ptr<const WordTable> table(bool french, Folding folding);
    // The same when it was cut already, else null.
    std::shared_ptr<const WordTable> tableIfCut(bool french, Folding folding) const;
    // The candidate lemmata of the Latin text's forms (its table cut for the spelling folding),
    // built at the first lemma search with this lexicon. Throws std::bad_alloc.
    std::shared_ptr<const TextLemmata> lemmata(const lexicon::Lexicon& lexicon);
    // Which French words render each word of the Latin text cut for `folding`, learnt on the
    // Latin lemmata when given (else the folded forms) and the French lemmas, once for these
    // and then kept. The French text must be there; `frenchLemmas` should have read it (each
    // word one lemma). Throws std::bad_alloc, and AlignmentStopped when `progress` stops the
    // training (then nothing is kept).
    std::shared_ptr<const TextAlignment> alignment(Folding folding, FrenchLemmas& frenchLemmas,
                                                   std::shared_ptr<const TextLemmata> latinLemmata,
                                                   const AlignmentProgress& progress = {});
    // The one a Latin list's renderings read: on the lemmata of a lemma search, else on forms.
    std::shared_ptr<const TextAlignment> alignment(const SearchResult& result, FrenchLemmas& frenchLemmas,
                                                   const AlignmentProgress& progress = {});
    // To be called when the French lemmas an alignment was learnt with are replaced.
    void forgetAlignment() { m_alignment = {}; }
    // Where alignments are kept between runs; none (the default) trains each time.
    void keepAlignmentsIn(std::shared_ptr<const CacheFolder> cache) { m_cache = std::move(cache); }
    // The likeliest reading of every word of the Latin text, with its probability, tagged at
    // the first call with these lexicon and counts and kept. Throws std::bad_alloc.
    std::shared_ptr<const TextTagging> tagging(const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags);

private:
    struct Side {
        bool given = false;
        std::string text;          // until a table takes it over
        bool inTable = false;      // the text lives in the tables now
        std::shared_ptr<const WordTable> tables[2];  // by Folding::Case, Folding::Spelling
        mutable std::optional<std::uint64_t> hash;    // of the text, once asked for
    };
    Side& side(bool french) { return french ? m_french : m_latin; }
    const Side& side(bool french) const { return french ? m_french : m_latin; }

    Side m_latin, m_french;
    std::shared_ptr<const TextLemmata> m_lemmata;
    const lexicon::Lexicon* m_lemmataLexicon = nullptr;
    // The alignment with what it was learnt on; the lemmata held so their address stays theirs.
    struct Alignment {
        std::shared_ptr<const TextAlignment> alignment;
        Folding folding = Folding::Case;
        const FrenchLemmas* frenchLemmas = nullptr;
        std::shared_ptr<const TextLemmata> latinLemmata;
    } m_alignment;
    std::shared_ptr<const CacheFolder> m_cache;
    std::shared_ptr<const TextTagging> m_tagging;
    const lexicon::TagModel* m_taggingTags = nullptr;
};

// What a search reads besides its texts: the Latin lexicon for a lemma, the French lemmas
// for a French lemma filter. Null where the request does not need them. The tagger's counts
// choose each word's likeliest reading; without them (null or empty) the most frequent
// lemma stands for it. `tagWholeText`: the whole text's tagging is kept (a window
// searches it again and again), each sentence tagged when first read; else only the
// sentences a search needs are tagged.
struct SearchAids {
    const lexicon::Lexicon* lexicon = nullptr;
    FrenchLemmas* frenchLemmas = nullptr;
    const lexicon::TagModel* tags = nullptr;
    bool tagWholeText = false;
};

// A refusal of the request's --morph words (French, UTF-8: the unknown words and the list of
// the accepted ones), or of --morph without the tagger's counts; "" when they can filter.
std::string morphRefusal(const SearchRequest& request, const lexicon::TagModel* tags);

// The list alone, or only its count when nothing reads the rows ("--count").
enum class SearchWants { List, Count };

// What became of the query before any list.
enum class QueryStatus {
    Searched,
    Unsearchable,  // a character the texts' code page lacks: nothing can match
    UnknownLemma,  // neither a lemma of the lexicon nor a form of the text
};

class SearchResult {
public:
    // Before any search: the list's one empty row over an empty table.
    SearchResult();
    // Before any search over a loaded text: the empty row over its table.
    explicit SearchResult(std::shared_ptr<const WordTable> table);

    const SearchRequest& request() const { return m_request; }
    // The table the list indexes: the searched text's, cut for the request's folding.
    const WordTable& words() const { return *m_table; }
    const std::shared_ptr<const WordTable>& sharedWords() const { return m_table; }
    const ResultList& list() const { return m_list; }
    // The attestations found: the list's size, or the count alone of a SearchWants::Count.
    std::size_t count() const { return m_countOnly ? m_count : (holdsAttestations(m_list) ? m_list.size() : 0); }
    bool countOnly() const { return m_countOnly; }
    bool searched() const { return m_searched; }
    Folding folding() const { return m_request.folding(); }
    bool frenchSide() const { return m_request.frenchSide; }

    QueryStatus status() const { return m_status; }
    // The query as the list's headings give it, Windows-1252: the form typed, or the lemma's
    // heading.
    const std::string& form() const { return m_form; }
    // With Unsearchable: the character the code page lacks (UTF-8).
    const std::string& missingChar() const { return m_missingChar; }

    // A lemma search: how the lemma was understood, the lines that say so (UTF-8, each ended
    // by "\n"), the lemmata it names, the text's folded forms found, and the lemmata of the
    // text with the lexicon they come from (null outside lemma searches).
    LemmaMatchKind lemmaMatch() const { return m_lemmaMatch; }
    const std::string& lemmaLines() const { return m_lemmaLines; }
    const std::vector<lexicon::LemmaId>& lemmata() const { return m_lemmata; }
    const std::vector<TextLemmata::TypeId>& lemmaTypes() const { return m_lemmaTypes; }
    const TextLemmata* textLemmata() const { return m_textLemmata.get(); }
    const std::shared_ptr<const TextLemmata>& sharedTextLemmata() const { return m_textLemmata; }
    const lexicon::Lexicon* lexicon() const { return m_lexicon; }
    // The likeliest reading of the listed words in their sentences (and, tagged whole, of
    // every word), under a lemma search with the tagger's counts; else null.
    const TextTagging* tagging() const { return m_tagging.get(); }
    const lexicon::TagModel* tags() const { return m_tags; }
    // A listed word's candidate lemmata as the lemmata column writes them, the likeliest
    // here first: "sum, edo" (UTF-8).
    std::string lemmataColumn(std::size_t word) const;
    // Its likeliest analysis as the analyses column writes it: "dico, 3ème singulier
    // indicatif parfait actif, 0.97"; "" for a word the lexicon lacks or without a tagging.
    std::string analysisColumn(std::size_t word) const;

    // Reorders the rows (the table stays): "Formes" with its keys, or the neighbours' order
    // under the request's folding. Throws std::bad_alloc.
    void sortByForm(SortKeys keys);
    void sortByNeighbour(Neighbour side);

    friend SearchResult buildSearchResult(const SearchRequest&, SearchTexts&, const SearchAids&, SearchWants);

private:
    SearchRequest m_request;
    std::shared_ptr<const WordTable> m_table;
    ResultList m_list = emptyRowList();
    std::size_t m_count = 0;
    bool m_countOnly = false;
    bool m_searched = false;
    QueryStatus m_status = QueryStatus::Searched;
    std::string m_form, m_missingChar;
    LemmaMatchKind m_lemmaMatch = LemmaMatchKind::Lemma;
    std::string m_lemmaLines;
    std::vector<lexicon::LemmaId> m_lemmata;
    std::vector<TextLemmata::TypeId> m_lemmaTypes;
    std::shared_ptr<const TextLemmata> m_textLemmata;
    const lexicon::Lexicon* m_lexicon = nullptr;
    std::shared_ptr<const TextTagging> m_tagging;
    const lexicon::TagModel* m_tags = nullptr;
};

// The list the request asks for, in its order: the form, phrase or lemma found in the
// searched text, kept where the other text's passage holds the French form or the French
// lemma, without the forms left out, sorted. The request must be accepted by requestRefusal,
// and `aids` hold what it needs (the lexicon for a lemma, the French lemmas for a French
// lemma or an aligned filter, which learns the texts' alignment when it is not kept yet). A
// count alone is counted without a list when no filter needs the rows. Throws
// std::bad_alloc and std::length_error when memory runs short.
SearchResult buildSearchResult(const SearchRequest& request, SearchTexts& texts, const SearchAids& aids,
                               SearchWants wants = SearchWants::List);

} // namespace quorvex
