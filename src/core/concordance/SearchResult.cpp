#include "concordance/SearchResult.h"

#include "concordance/FormExclusion.h"
#include "concordance/PhraseQuery.h"
#include "passages/BothSides.h"
#include "text/Cp1252.h"
#include "translation/Equivalents.h"
#include "translation/TextAlignment.h"

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
    if (s.inTable) {
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
    }
    return m_lemmata;
}

std::shared_ptr<const TextAlignment> SearchTexts::alignment(Folding folding, FrenchLemmas& frenchLemmas,
                                                            std::shared_ptr<const TextLemmata> latinLemmata)
{
    Alignment& kept = m_alignment;
    if (kept.alignment && kept.folding == folding && kept.frenchLemmas == &frenchLemmas
        && kept.latinLemmata == latinLemmata)
        return kept.alignment;
    forgetAlignment();
    const std::shared_ptr<const WordTable> latin = table(false, folding);
    Alignment learnt;
    learnt.alignment = std::make_shared<const TextAlignment>(
        alignTexts(*latin, text(true), frenchLemmas, latinLemmata.get()));
    learnt.folding = folding;
    learnt.frenchLemmas = &frenchLemmas;
    learnt.latinLemmata = std::move(latinLemmata);
    kept = std::move(learnt);
    return kept.alignment;
}

std::shared_ptr<const TextAlignment> SearchTexts::alignment(const SearchResult& result, FrenchLemmas& frenchLemmas)
{
    return alignment(result.folding(), frenchLemmas,
                     result.request().lemma ? result.sharedTextLemmata() : std::shared_ptr<const TextLemmata>());
}

SearchResult::SearchResult() : m_table(std::make_shared<const WordTable>()) {}

SearchResult::SearchResult(std::shared_ptr<const WordTable> table) : m_table(std::move(table)) {}

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
    const bool rowsFiltered = request.filtersByOtherText() || !request.excludedForms.empty();
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
        if (countAlone) {
            result.m_countOnly = true;
            result.m_count = result.m_textLemmata->wordCount(result.m_lemmaTypes);
            return result;
        }
        result.m_list = result.m_textLemmata->wordsOf(result.m_lemmaTypes);
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
