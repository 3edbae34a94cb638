// The session's search with the reader's choices, in quorvex-cli's steps and core calls:
// the searched text cut with the letters of the folding, the lemma or the phrase found, then
// the filters on the other text's passage, the forms left out and the French lemma.

#include "session/Session.h"

#include "concordance/FormExclusion.h"
#include "lexicon/LexiconFolder.h"
#include "passages/BothSides.h"
#include "platform/FileMessages.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <unordered_set>

namespace quorvex {

namespace {

LetterSet lettersOf(Folding folding) { return folding == Folding::Spelling ? LetterSet::Extended : LetterSet::Window; }

} // namespace

SessionFailure Session::useFrenchText()
{
    if (m_frenchRead)
        return SessionFailure::None;
    TextReadResult french = readText(toPath(m_frenchPath));
    m_frenchTextError = french.error;
    if (french.error) {
        m_failureMessage = fileErrorMessage(french.error).text;
        return french.error.kind == FileErrorKind::OutOfMemory ? SessionFailure::OutOfMemory
                                                               : SessionFailure::Unreadable;
    }
    m_frenchText = std::move(french.text);
    m_frenchRead = true;
    return SessionFailure::None;
}

SessionFailure Session::loadLemmata()
{
    if (!m_lexicon) {
        const lexicon::LexiconLookup lookup =
            lexicon::lookUpLexicon(lexicon::lexiconPlacesOfThisProgram());
        if (!lookup.folder) {
            m_failureMessage = QString::fromStdString(lexicon::describeMissingLexicon(lookup.tried));
            return SessionFailure::Unreadable;
        }
        lexicon::LexiconProblem failure;
        std::vector<lexicon::LexiconProblem> malformed;  // a bad line costs its lemma, not the search
        auto loaded = std::make_unique<lexicon::Lexicon>(lexicon::Lexicon::load(*lookup.folder, false, failure, malformed));
        if (failure.kind == lexicon::ProblemKind::OutOfMemory)
            return SessionFailure::OutOfMemory;
        if (failure) {
            m_failureMessage = QString::fromStdString(lexicon::describeProblem(failure));
            return SessionFailure::Unreadable;
        }
        m_lexicon = std::move(loaded);
    }
    if (!m_lemmata)
        m_lemmata = std::make_unique<TextLemmata>(TextLemmata::build(tableFor(false, Folding::Spelling), *m_lexicon));
    return SessionFailure::None;
}

const WordTable& Session::tableFor(bool french, Folding folding)
{
    if (!french && folding == Folding::Case)
        return m_words;
    std::unique_ptr<WordTable>& table = french ? (folding == Folding::Case ? m_frenchPlain : m_frenchFolded)
                                               : m_latinFolded;
    if (!table)
        table = std::make_unique<WordTable>(
            WordTable::segment(std::string(french ? std::string_view(m_frenchText) : m_words.text()),
                               lettersOf(folding)));
    return *table;
}

SessionFailure Session::searchWithChoices(const SearchChoices& c, const QString& typedForm, ResultList& into,
                                          const WordTable*& searched)
{
    const Folding folding = c.folds() ? Folding::Spelling : Folding::Case;
    const LetterSet letters = lettersOf(folding);
    try {
        if (c.frenchSide || !c.frenchForm.isEmpty() || !c.frenchLemma.isEmpty()) {
            if (const SessionFailure f = useFrenchText(); f != SessionFailure::None)
                return f;
        }
        // The searched text is cut with the letters of its folding, as the command line cuts it.
        const WordTable& table = tableFor(c.frenchSide, folding);
        const std::string_view other = c.frenchSide ? m_words.text() : std::string_view(m_frenchText);

        ResultList spans;
        m_lemmaMatch = LemmaMatchKind::Lemma;
        m_lemmaLines.clear();
        if (c.lemma) {
            if (const SessionFailure f = loadLemmata(); f != SessionFailure::None)
                return f;
            LemmaMatchResult match = matchLemma(*m_lexicon, *m_lemmata, typedForm.toStdString(), c.lemmaStrict);
            m_lemmaMatch = match.kind;
            m_lemmaLines = QString::fromStdString(match.lines).trimmed();
            spans = std::move(match.words);
        } else {
            spans = PhraseQuery(toCp1252(typedForm), c.phrase, folding).find(table);
        }
        if (!c.frenchForm.isEmpty())
            spans = keepWhereOtherPassageHolds(table, spans, other, WordPattern(toCp1252(c.frenchForm), folding),
                                               letters);
        if (!c.excludedForms.isEmpty()) {
            std::vector<std::string> excluded;
            for (const QString& form : c.excludedForms)
                excluded.push_back(toCp1252(form));
            spans = withoutForms(table, spans, excluded, folding);
        }
        if (!c.frenchLemma.isEmpty() && !c.frenchSide) {
            spans = keepWhereFrenchHoldsLemma(table, spans, other, frenchLemmaSource(), c.frenchLemma.toStdString());
        }
        m_listFolding = folding;
        into = std::move(spans);
        searched = &table;
    } catch (const std::bad_alloc&) {
        return SessionFailure::OutOfMemory;
    } catch (const std::length_error&) {
        return SessionFailure::OutOfMemory;
    }
    return SessionFailure::None;
}

std::vector<AttestedForm> Session::formsOfTheLemma()
{
    if (!m_choices.lemma || !searched())
        return {};
    // The list again without the forms left out, whatever its order: the same query and
    // choices understand the lemma as the list shown did.
    SearchChoices all = m_choices;
    all.excludedForms.clear();
    ResultList spans;
    const WordTable* table = &m_words;
    switch (searchWithChoices(all, m_listQuery, spans, table)) {
    case SessionFailure::None:
        break;
    case SessionFailure::OutOfMemory:
        throw std::bad_alloc();
    case SessionFailure::Unreadable:
        // What the list needed was read for it; should it fail now, the list's own forms.
        return attestedForms(searchedWords(), m_results, m_listFolding);
    }
    return attestedForms(*table, spans, m_listFolding);
}

SessionFailure Session::sortByNeighbour(Neighbour side)
{
    if (!viewHasRoomFor(m_results.size()))
        return SessionFailure::OutOfMemory;
    try {
        ResultList sorted = m_results;
        quorvex::sortByNeighbour(searchedWords(), sorted, side, m_listFolding);
        m_results.swap(sorted);
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
        for (std::size_t row = 1; row <= m_results.size(); ++row) {
            const Attestation& a = m_results[row - 1];
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
