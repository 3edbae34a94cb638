// The session's search with the reader's choices: the choices made into the core's request,
// what it needs read, then the core's one search, as quorvex-cli makes it.

#include "session/Session.h"

#include "concordance/FormExclusion.h"
#include "lexicon/LexiconFolder.h"
#include "lexicon/LexiconLoad.h"
#include "platform/FileMessages.h"
#include "platform/TextCodec.h"
#include "system/CacheFolder.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <unordered_set>

namespace quorvex {

SessionFailure Session::useFrenchText()
{
    if (m_texts.hasFrench())
        return SessionFailure::None;
    m_frenchTextError = m_texts.readFrench(toPath(m_frenchPath));
    if (m_frenchTextError) {
        m_failureMessage = fileErrorMessage(m_frenchTextError).text;
        return m_frenchTextError.kind == FileErrorKind::OutOfMemory ? SessionFailure::OutOfMemory
                                                                    : SessionFailure::Unreadable;
    }
    return SessionFailure::None;
}

SessionFailure Session::loadLexicon()
{
    if (m_lexicon)
        return SessionFailure::None;
    lexicon::LexiconLoad load = lexicon::loadLexicon(std::nullopt, false, true, CacheFolder(defaultCacheFolder()));
    if (!load.folder) {
        m_failureMessage = QString::fromStdString(lexicon::describeMissingLexicon(load.tried));
        return SessionFailure::Unreadable;
    }
    if (load.failure.kind == lexicon::ProblemKind::OutOfMemory)
        return SessionFailure::OutOfMemory;
    if (load.failure) {
        m_failureMessage = QString::fromStdString(lexicon::describeProblem(load.failure));
        return SessionFailure::Unreadable;
    }
    // A line that cannot be read costs its lemma, not the search; the lemma choice says so.
    m_lexiconWarning = QString::fromStdString(lexicon::unreadableLinesWarning(load.malformed));
    auto loaded = std::make_unique<lexicon::Lexicon>(std::move(load.lexicon));
    m_tags = std::make_unique<lexicon::TagModel>(std::move(load.tags));
    m_lexicon = std::move(loaded);
    return SessionFailure::None;
}

SessionFailure Session::searchFor(const SearchRequest& request, SearchResult& into)
{
    try {
        if (request.needsFrench())
            if (const SessionFailure f = useFrenchText(); f != SessionFailure::None)
                return f;
        SearchAids aids;
        if (request.lemma) {
            if (const SessionFailure f = loadLexicon(); f != SessionFailure::None)
                return f;
            aids.lexicon = m_lexicon.get();
            aids.tags = m_tags.get();
            aids.tagWholeText = true;
            if (const std::string refusal = morphRefusal(request, m_tags.get()); !refusal.empty()) {
                m_failureMessage = QString::fromStdString(refusal);
                return SessionFailure::Unreadable;
            }
        }
        if (request.frenchLemma || request.aligned)
            aids.frenchLemmas = &frenchLemmaSource();
        into = buildSearchResult(request, m_texts, aids);
    } catch (const std::bad_alloc&) {
        return SessionFailure::OutOfMemory;
    } catch (const std::length_error&) {
        return SessionFailure::OutOfMemory;
    }
    return SessionFailure::None;
}

std::vector<AttestedForm> Session::formsOfTheLemma()
{
    if (!m_choices.asked.lemma || !searched())
        return {};
    // The list again without the forms left out, whatever its order: the same query and
    // choices understand the lemma as the list shown did.
    SearchRequest all = m_result.request();
    all.excludedForms.clear();
    all.sort = SortOrder::Text;
    SearchResult whole;
    switch (searchFor(all, whole)) {
    case SessionFailure::None:
        break;
    case SessionFailure::OutOfMemory:
        throw std::bad_alloc();
    case SessionFailure::Unreadable:
        // What the list needed was read for it; should it fail now, the list's own forms.
        return attestedForms(searchedWords(), results(), folding());
    }
    return attestedForms(whole.words(), whole.list(), whole.folding());
}

SessionFailure Session::sortByNeighbour(Neighbour side)
{
    if (!viewHasRoomFor(results().size()))
        return SessionFailure::OutOfMemory;
    try {
        SearchResult sorted = m_result;
        sorted.sortByNeighbour(side);
        m_result = std::move(sorted);
    } catch (const std::bad_alloc&) {
        return SessionFailure::OutOfMemory;
    }
    m_listOrder = side == Neighbour::Left ? ListOrder::LeftWord : ListOrder::RightWord;
    emit resultsReset();
    return SessionFailure::None;
}

const std::vector<std::string>& Session::listForms() const
{
    if (!m_listFormsKnown) {
        m_listForms.clear();
        std::unordered_set<std::string> lowered;
        // Each type of the list looked at once: a list of millions of rows holds a few
        // thousand forms.
        const WordTable& table = searchedWords();
        std::vector<std::uint8_t> seen(table.typeCount());
        const ResultList& list = results();
        for (std::size_t row = 1; row <= list.size(); ++row) {
            const Attestation& a = list[row - 1];
            if (a.words == 1) {
                const WordTable::TypeId type = table.typeOf(a.first);
                if (seen[type])
                    continue;
                seen[type] = 1;
            }
            const std::string_view written = form(row);
            if (lowered.insert(folded(written, Folding::Case)).second)
                m_listForms.emplace_back(written);
        }
        m_listFormsKnown = true;
    }
    return m_listForms;
}

} // namespace quorvex
