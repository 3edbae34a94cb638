#pragma once
// The attestation rows the result file and the exports are written from, with the passages of
// their references in the searched text and, when there is one, in the other text of the
// pair. The rows are the attestation list of one word table; the empty row of the list before
// any search has the empty reference.
//
// forEachRow(f) calls f(row) in order and stops when f returns false.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "passages/ReferencePassages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class AttestationRows {
public:
    struct Row {
        Attestation attestation;
        WordTable::ReferenceId id;
        std::string_view form;  // valid while the row is being handled
    };

    // `searchedText` is the text the searched side's passages are taken from (the table's text,
    // or the same file read again); `otherText` null or empty means no other side.
    AttestationRows(const WordTable& table, const ResultList& results,
                    std::string_view searchedText, const std::string* otherText)
        : AttestationRows(table, results, referenceIdsOf(table, results), searchedText, otherText)
    {
    }

    std::size_t count() const { return m_results.size(); }
    bool withFrench() const { return m_withOther; }
    std::string_view headerForm() const { return kFormsHeader; }
    std::string_view headerReference() const { return kReferencesHeader; }

    template <typename F>
    void forEachRow(F&& f) const
    {
        for (const Attestation& a : m_results) {
            const Row row{a, a.words == 0 ? 0 : m_table.referenceId(a.first),
                          attestationForm(m_table, a, m_form)};
            if (!f(row))
                return;
        }
    }

    std::string_view form(const Row& r) const { return r.form; }
    std::string_view reference(const Row& r, std::string& scratch) const
    {
        scratch.clear();
        appendReference(scratch, r);
        return scratch;
    }
    void appendReference(std::string& out, const Row& r) const
    {
        if (!isEmptyRow(r))
            m_table.appendReferenceText(r.id, out);
    }
    std::size_t referenceLength(const Row& r) const
    {
        return isEmptyRow(r) ? 0 : m_table.referenceParts(r.id).textLength();
    }
    // What tells two rows' references apart, for caching by reference.
    std::string_view referenceKey(const Row& r, std::string& scratch) const
    {
        scratch = isEmptyRow(r) ? std::string("-") : std::to_string(r.id);
        return scratch;
    }

    void appendLatin(std::string& out, const Row& r) const
    {
        forEachLatinPiece(r, [&out](std::string_view piece) { out += piece; });
    }
    void appendFrench(std::string& out, const Row& r) const
    {
        forEachFrenchPiece(r, [&out](std::string_view piece) { out += piece; });
    }
    template <typename Sink>
    void forEachLatinPiece(const Row& r, Sink&& sink) const { pieces(m_latin, m_searchedText, r, sink); }
    template <typename Sink>
    void forEachFrenchPiece(const Row& r, Sink&& sink) const { pieces(m_other, m_otherText, r, sink); }
    std::size_t latinLength(const Row& r) const { return length(m_latin, m_searchedText, r); }
    std::size_t frenchLength(const Row& r) const { return length(m_other, m_otherText, r); }
    // The searched text after the passage, where a phrase cut by the passage's end goes on.
    std::string_view latinTextAfter(const Row& r) const
    {
        return isEmptyRow(r) ? std::string_view() : m_latin.textAfter(r.id);
    }

private:
    // `refs` is needed only while the passages are found; it goes when construction ends.
    AttestationRows(const WordTable& table, const ResultList& results,
                    const std::vector<WordTable::ReferenceId>& refs, std::string_view searchedText,
                    const std::string* otherText)
        : m_table(table),
          m_results(results),
          m_withOther(otherText && !otherText->empty()),
          m_otherText(m_withOther ? std::string_view(*otherText) : std::string_view()),
          m_searchedText(searchedText),
          m_latin(searchedText, table, refs),
          m_other(m_otherText, table, m_withOther ? refs : std::vector<WordTable::ReferenceId>())
    {
    }

    static std::vector<WordTable::ReferenceId> referenceIdsOf(const WordTable& table,
                                                              const ResultList& results)
    {
        std::vector<WordTable::ReferenceId> refs;
        refs.reserve(results.size());
        for (const Attestation& a : results)
            if (a.words > 0)
                refs.push_back(table.referenceId(a.first));
        return refs;
    }

    static bool isEmptyRow(const Row& r) { return r.attestation.words == 0; }

    template <typename Sink>
    static void pieces(const ReferencePassages& passages, std::string_view text, const Row& r,
                       Sink&& sink)
    {
        if (!isEmptyRow(r)) {
            passages.forEachPiece(r.id, sink);
            return;
        }
        const std::string_view before = ReferencePassages::beforeAnyMarker(text);
        if (!before.empty())
            sink(before);
    }

    static std::size_t length(const ReferencePassages& passages, std::string_view text,
                              const Row& r)
    {
        std::size_t n = 0;
        pieces(passages, text, r, [&n](std::string_view piece) { n += piece.size(); });
        return n;
    }

    const WordTable& m_table;
    const ResultList& m_results;
    bool m_withOther;
    std::string_view m_otherText;
    std::string_view m_searchedText;
    ReferencePassages m_latin;
    ReferencePassages m_other;
    mutable std::string m_form;  // the form of the row being handled, when it has several words
};

} // namespace quorvex
