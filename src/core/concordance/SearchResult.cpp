#include "concordance/SearchResult.h"

#include "concordance/FormExclusion.h"
#include "concordance/PhraseQuery.h"
#include "passages/BothSides.h"
#include "system/CacheFolder.h"
#include "text/Cp1252.h"
#include "translation/Equivalents.h"
#include "translation/TextAlignment.h"

#include <algorithm>
#include <utility>

namespace quorvex {

namespace {

// French words are cut with the French letters whatever the folding, so the French text has
// one table; the Latin side has the window's letters, or the extended ones when it is folded.
LetterSet lettersOf(bool french, Folding folding)
{
    if (french)
        return kFrenchLetters;
    return folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window;
}
int slotOf(bool french, Folding folding) { return !french && folding == Folding::Spelling ? 1 : 0; }

} // namespace

SearchTexts::SearchTexts() = default;
SearchTexts::~SearchTexts() = default;
SearchTexts::SearchTexts(SearchTexts&&) noexcept = default;
SearchTexts& SearchTexts::operator=(SearchTexts&&) noexcept = default;

void SearchTexts::setLatin(std::string text)
{
    m_latin = Side();
    m_latin.given = true;
    m_latin.text = std::move(text);
    m_lemmata.reset();
    m_lemmataLexicon = nullptr;
    forgetAlignment();
    m_tagging.reset();
    m_taggingTags = nullptr;
}

void SearchTexts::setLatin(WordTable windowLetters)
{
    m_latin = Side();
    m_latin.given = true;
    m_latin.inTable = true;
    m_latin.tables[0] = std::make_shared<const WordTable>(std::move(windowLetters));
    m_lemmata.reset();
    m_lemmataLexicon = nullptr;
    forgetAlignment();
    m_tagging.reset();
    m_taggingTags = nullptr;
}

void SearchTexts::setFrench(std::string text)
{
    m_french = Side();
    m_french.given = true;
    m_french.text = std::move(text);
    forgetAlignment();
}

FileError SearchTexts::readLatin(const std::string& path)
{
    TextReadResult read = readText(path);
    if (!read.error)
        setLatin(std::move(read.text));
    return read.error;
}

FileError SearchTexts::readFrench(const std::string& path)
{
    TextReadResult read = readText(path);
    if (!read.error)
        setFrench(std::move(read.text));
    return read.error;
}

const std::string& SearchTexts::text(bool french) const
{
    const Side& s = side(french);
    if (!s.inTable)
        return s.text;
    return (s.tables[0] ? s.tables[0] : s.tables[1])->text();
}

std::uint64_t SearchTexts::textHash(bool french) const
{
    const Side& s = side(french);
    if (!s.hash)
        s.hash = contentHash(text(french));
    return *s.hash;
}

std::shared_ptr<const WordTable> SearchTexts::tableIfCut(bool french, Folding folding) const
{
    return side(french).tables[slotOf(french, folding)];
}

std::shared_ptr<const WordTable> SearchTexts::table(bool french, Folding folding)
{
    Side& s = side(french);
    std::shared_ptr<const WordTable>& slot = s.tables[slotOf(french, folding)];
    if (slot)
        return slot;
    if (s.inTable && !french && folding == Folding::Spelling && s.tables[0]) {
        // Only the words touching the extra letters differ from the window's table.
        slot = std::make_shared<const WordTable>(WordTable::withExtendedLetters(*s.tables[0]));
    } else if (s.inTable) {
        slot = std::make_shared<const WordTable>(
            WordTable::segment(std::string(text(french)), lettersOf(french, folding)));
    } else {
        slot = std::make_shared<const WordTable>(WordTable::segment(std::move(s.text), lettersOf(french, folding)));
        s.text = std::string();
        s.inTable = true;
    }
    return slot;
}

std::shared_ptr<const TextLemmata> SearchTexts::lemmata(const lexicon::Lexicon& lexicon)
{
    if (!m_lemmata || m_lemmataLexicon != &lexicon) {
        const std::shared_ptr<const WordTable> folded = table(false, Folding::Spelling);
        m_lemmata = std::make_shared<const TextLemmata>(TextLemmata::build(*folded, lexicon));
        m_lemmataLexicon = &lexicon;
        m_tagging.reset();
    }
    return m_lemmata;
}

std::shared_ptr<const TextAlignment> SearchTexts::alignment(Folding folding, FrenchLemmas& frenchLemmas,
                                                            std::shared_ptr<const TextLemmata> latinLemmata,
                                                            const AlignmentProgress& progress)
{
    Alignment& kept = m_alignment;
    if (kept.alignment && kept.folding == folding && kept.frenchLemmas == &frenchLemmas
        && kept.latinLemmata == latinLemmata)
        return kept.alignment;
    forgetAlignment();
    const std::shared_ptr<const WordTable> latin = table(false, folding);
    Alignment learnt;
    // A pair aligned before is read from its image: the French text is then neither cut nor
    // lemmatised, and the lemmas take the image's ids.
    std::string imageKey;
    if (m_cache && m_cache->enabled())
        imageKey = alignmentImageKey(*latin, textHash(false), text(true), textHash(true), frenchLemmas,
                                     latinLemmata.get());
    if (!imageKey.empty()) {
        std::optional<TextAlignment> image =
            TextAlignment::fromImage(m_cache->readInPlace(kAlignmentImageKind, imageKey), latin->size(),
                                     latin->referenceCount(), text(true).size(), frenchLemmas);
        if (image)
            learnt.alignment = std::make_shared<const TextAlignment>(std::move(*image));
    }
    if (!learnt.alignment) {
        // Each French word stands for one lemma, chosen over the whole text.
        const std::shared_ptr<const WordTable> french = table(true, Folding::Case);
        if (!frenchLemmas.textRead())
            frenchLemmas.readText(*french);
        // The image holds the links: they are not kept a second time.
        learnt.alignment = std::make_shared<const TextAlignment>(
            alignTexts(*latin, *french, frenchLemmas, latinLemmata.get(), AlignmentSettings(),
                       imageKey.empty() ? m_cache.get() : nullptr, progress));
        if (!imageKey.empty())
            m_cache->write(kAlignmentImageKind, imageKey, learnt.alignment->image(frenchLemmas));
    }
    learnt.folding = folding;
    learnt.frenchLemmas = &frenchLemmas;
    learnt.latinLemmata = std::move(latinLemmata);
    kept = std::move(learnt);
    return kept.alignment;
}

std::shared_ptr<const TextAlignment> SearchTexts::alignment(const SearchResult& result, FrenchLemmas& frenchLemmas,
                                                            const AlignmentProgress& progress)
{
    return alignment(result.folding(), frenchLemmas,
                     result.request().lemma ? result.sharedTextLemmata() : std::shared_ptr<const TextLemmata>(),
                     progress);
}

std::shared_ptr<const TextTagging> SearchTexts::tagging(const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags)
{
    const std::shared_ptr<const TextLemmata> textLemmata = lemmata(lexicon);
    if (!m_tagging || m_taggingTags != &tags) {
        // Tagged as its sentences are read: a window shows a few rows, and a search by strict
        // lemma reads them all.
        m_tagging = std::make_shared<const TextTagging>(
            TextTagging::onDemand(*table(false, Folding::Spelling), *textLemmata, lexicon, tags, true));
        m_taggingTags = &tags;
    }
    return m_tagging;
}

std::string morphRefusal(const SearchRequest& request, const lexicon::TagModel* tags)
{
    if (!request.morph)
        return {};
    if (!tags || tags->empty())
        return "--morph demande les fichiers tags.la et morphos.fr du lexique.";
    std::string refusal;
    AnalysisFilter::parse(*request.morph, *tags, refusal);
    return refusal;
}

SearchResult::SearchResult() : m_table(std::make_shared<const WordTable>()) {}

SearchResult::SearchResult(std::shared_ptr<const WordTable> table) : m_table(std::move(table)) {}

std::string SearchResult::lemmataColumn(std::size_t word) const
{
    const TextLemmata::Candidates c = m_textLemmata->candidates(m_textLemmata->typeOf(word));
    std::vector<lexicon::LemmaId> ids(c.begin(), c.end());
    if (m_tagging && m_tagging->known(word)) {
        const auto likeliest = std::find(ids.begin(), ids.end(), m_tagging->reading(word).lemma);
        if (likeliest != ids.end())
            std::rotate(ids.begin(), likeliest, likeliest + 1);
    }
    return m_lexicon->spellings(ids);
}

std::string SearchResult::analysisColumn(std::size_t word) const
{
    return m_tagging ? m_tagging->describe(word, *m_lexicon, *m_tags) : std::string();
}

void SearchResult::sortByForm(SortKeys keys) { sortResults(*m_table, m_list, keys); }

void SearchResult::sortByNeighbour(Neighbour side) { quorvex::sortByNeighbour(*m_table, m_list, side, folding()); }

SearchResult buildSearchResult(const SearchRequest& request, SearchTexts& texts, const SearchAids& aids,
                               SearchWants wants)
{
    SearchResult result;
    result.m_request = request;
    result.m_searched = true;
    result.m_list.clear();
    const Folding folding = request.folding();
    result.m_table = texts.table(request.frenchSide, folding);
    const WordTable& table = *result.m_table;
    // A count alone needs the rows only when a filter reads them.
    const bool rowsFiltered = request.filtersByOtherText() || !request.excludedForms.empty() || request.morph;
    const bool countAlone = wants == SearchWants::Count && !rowsFiltered;

    if (request.lemma) {
        result.m_form = lemmaHeading(request.query);
        result.m_textLemmata = texts.lemmata(*aids.lexicon);
        result.m_lexicon = aids.lexicon;
        LemmaMatchResult match = matchLemmaTypes(*aids.lexicon, *result.m_textLemmata, request.query,
                                                 request.lemmaStrict);
        result.m_lemmaMatch = match.kind;
        result.m_lemmaLines = std::move(match.lines);
        result.m_lemmata = std::move(match.lemmata);
        result.m_lemmaTypes = std::move(match.types);
        if (match.kind == LemmaMatchKind::Unknown) {
            result.m_status = QueryStatus::UnknownLemma;
            return result;
        }
        // The strict lemma is the likeliest reading of each word in its sentence; the tagging
        // also gives the lemmata column its first lemma, the analyses and their filter.
        const lexicon::TagModel* tags = aids.tags && !aids.tags->empty() ? aids.tags : nullptr;
        std::shared_ptr<const TextTagging> whole;
        if (tags && aids.tagWholeText && (request.lemmaStrict || !countAlone))
            whole = texts.tagging(*aids.lexicon, *tags);
        const bool tagged = tags && request.lemmaStrict && match.kind == LemmaMatchKind::Lemma;
        if (tagged)
            result.m_list = whole ? whole->wordsOf(result.m_lemmata)
                                  : TextTagging::wordsOfLemmata(table, *result.m_textLemmata, *aids.lexicon, *tags,
                                                                result.m_lemmata);
        if (countAlone) {
            result.m_countOnly = true;
            result.m_count = tagged ? result.m_list.size() : result.m_textLemmata->wordCount(result.m_lemmaTypes);
            ResultList().swap(result.m_list);
            return result;
        }
        if (!tagged)
            result.m_list = result.m_textLemmata->wordsOf(result.m_lemmaTypes);
        if (tags) {
            result.m_tags = tags;
            result.m_tagging = whole ? std::move(whole)
                                     : std::make_shared<const TextTagging>(TextTagging::buildAround(
                                           table, *result.m_textLemmata, *aids.lexicon, *tags, result.m_list,
                                           request.analyses));
            if (request.morph) {
                std::string refusal;
                const AnalysisFilter filter = AnalysisFilter::parse(*request.morph, *tags, refusal);
                const TextTagging& tagging = *result.m_tagging;
                result.m_list.erase(std::remove_if(result.m_list.begin(), result.m_list.end(),
                                                   [&](const Attestation& a) { return !tagging.passes(a.first, filter, *tags); }),
                                    result.m_list.end());
            }
        }
    } else {
        ArgumentConversion form = argumentToCp1252(request.query);
        result.m_form = std::move(form.bytes);
        if (!form.missingChar.empty()) {
            result.m_status = QueryStatus::Unsearchable;
            result.m_missingChar = std::move(form.missingChar);
            result.m_countOnly = countAlone;
            return result;
        }
        const PhraseQuery query(result.m_form, request.phrase, folding);
        if (countAlone && !request.phrase) {
            result.m_countOnly = true;
            result.m_count = query.count(table);
            return result;
        }
        result.m_list = query.find(table);
    }

    const std::string_view other = texts.text(!request.frenchSide);
    // Learnt once, before the filters that read it.
    std::shared_ptr<const TextAlignment> alignment;
    if (request.aligned)
        alignment = texts.alignment(result, *aids.frenchLemmas);
    if (request.frenchForm && alignment)
        result.m_list = keepWhereAlignedToForm(result.m_list, *alignment, other,
                                               WordPattern(*request.frenchForm, folding));
    else if (request.frenchForm)
        result.m_list = keepWhereOtherPassageHolds(table, result.m_list, other,
                                                   WordPattern(*request.frenchForm, folding), kFrenchLetters);
    if (!request.excludedForms.empty())
        result.m_list = withoutForms(table, result.m_list, request.excludedForms, folding);
    if (request.frenchLemma && alignment)
        result.m_list = keepWhereAlignedToLemma(result.m_list, *alignment, *aids.frenchLemmas, *request.frenchLemma);
    else if (request.frenchLemma)
        result.m_list = keepWhereFrenchHoldsLemma(table, result.m_list, other, *aids.frenchLemmas,
                                                  *request.frenchLemma);
    if (request.sort == SortOrder::Forms)
        sortResults(table, result.m_list, SortKeys::FormThenReference);
    else if (request.sort == SortOrder::Left || request.sort == SortOrder::Right)
        quorvex::sortByNeighbour(table, result.m_list,
                                 request.sort == SortOrder::Left ? Neighbour::Left : Neighbour::Right, folding);
    if (wants == SearchWants::Count) {
        result.m_countOnly = true;
        result.m_count = result.m_list.size();
        ResultList().swap(result.m_list);
    }
    return result;
}

} // namespace quorvex
