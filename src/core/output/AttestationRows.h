#pragma once
// The attestation rows the result file and the exports are written from, with the passages of
// their references in the Latin text and, when there is one, in the French text: the rows of
// a grid (1 on; form in column 0, reference in column 1) or the results of a word table. Both
// sources answer the same questions, so one writer serves both; each answers them its own
// fastest way (a grid's reference is a cell, a table's is built from its parts).
//
// forEachRow(f) calls f(row) in order and stops when f returns false.

#include "concordance/GridHeader.h"
#include "concordance/GridModel.h"
#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "passages/PassageIndex.h"
#include "passages/ReferencePassages.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class GridAttestations {
public:
    using Row = std::size_t;

    GridAttestations(const GridModel& grid, std::string_view latinText, const std::string* frenchText)
        : GridAttestations(grid, referencesOf(grid), latinText, frenchText)
    {
    }

    std::size_t count() const { return m_grid.rows() - 1; }
    bool withFrench() const { return m_withFrench; }
    std::string_view headerForm() const { return m_grid.cell(0, 0); }
    std::string_view headerReference() const { return m_grid.cell(0, 1); }

    template <typename F>
    void forEachRow(F&& f) const
    {
        for (std::size_t r = 1; r < m_grid.rows(); ++r)
            if (!f(r))
                return;
    }

    std::string_view form(Row r) const { return m_grid.cell(r, 0); }
    // The reference's text; `scratch` holds it where it has to be built.
    std::string_view reference(Row r, std::string& /*scratch*/) const { return m_grid.cell(r, 1); }
    void appendReference(std::string& out, Row r) const { out += m_grid.cell(r, 1); }
    std::size_t referenceLength(Row r) const { return m_grid.cell(r, 1).size(); }
    // What tells two rows' references apart, for caching by reference.
    std::string_view referenceKey(Row r, std::string& scratch) const { return reference(r, scratch); }

    void appendLatin(std::string& out, Row r) const { m_latin.writePassage(out, m_grid.cell(r, 1)); }
    void appendFrench(std::string& out, Row r) const { m_french.writePassage(out, m_grid.cell(r, 1)); }
    template <typename Sink>
    void forEachLatinPiece(Row r, Sink&& sink) const { m_latin.forEachPiece(m_grid.cell(r, 1), sink); }
    template <typename Sink>
    void forEachFrenchPiece(Row r, Sink&& sink) const { m_french.forEachPiece(m_grid.cell(r, 1), sink); }
    std::size_t latinLength(Row r) const { return m_latin.passageLength(m_grid.cell(r, 1)); }
    std::size_t frenchLength(Row r) const { return m_french.passageLength(m_grid.cell(r, 1)); }
    // The Latin text after the passage, where a phrase cut by the passage's end goes on.
    std::string_view latinTextAfter(Row r) const { return m_latin.textAfter(m_grid.cell(r, 1)); }

private:
    GridAttestations(const GridModel& grid, std::vector<std::string_view> refs,
                     std::string_view latinText, const std::string* frenchText)
        : m_grid(grid),
          m_refs(std::move(refs)),
          m_withFrench(frenchText && !frenchText->empty()),
          m_latin(latinText, m_refs),
          m_french(m_withFrench ? std::string_view(*frenchText) : std::string_view(),
                   m_withFrench ? m_refs : std::vector<std::string_view>())
    {
    }

    static std::vector<std::string_view> referencesOf(const GridModel& grid)
    {
        std::vector<std::string_view> refs;
        refs.reserve(grid.rows());
        for (std::size_t r = 1; r < grid.rows(); ++r)
            refs.push_back(grid.cell(r, 1));
        return refs;
    }

    const GridModel& m_grid;
    std::vector<std::string_view> m_refs;
    bool m_withFrench;
    PassageIndex m_latin;
    PassageIndex m_french;
};

class ResultAttestations {
public:
    struct Row {
        WordIndex word;
        WordTable::ReferenceId id;
    };

    ResultAttestations(const WordTable& table, const ResultList& results,
                       std::string_view latinText, const std::string* frenchText)
        : ResultAttestations(table, results, referenceIdsOf(table, results), latinText, frenchText)
    {
    }

    std::size_t count() const { return m_results.size(); }
    bool withFrench() const { return m_withFrench; }
    std::string_view headerForm() const { return kFormsHeader; }
    std::string_view headerReference() const { return kReferencesHeader; }

    template <typename F>
    void forEachRow(F&& f) const
    {
        for (const WordIndex w : m_results)
            if (!f(Row{w, m_table.referenceId(w)}))
                return;
    }

    std::string_view form(const Row& r) const { return m_table.form(r.word); }
    std::string_view reference(const Row& r, std::string& scratch) const
    {
        scratch.clear();
        m_table.appendReferenceText(r.id, scratch);
        return scratch;
    }
    void appendReference(std::string& out, const Row& r) const { m_table.appendReferenceText(r.id, out); }
    std::size_t referenceLength(const Row& r) const { return m_table.referenceParts(r.id).textLength(); }
    std::string_view referenceKey(const Row& r, std::string& scratch) const
    {
        scratch = std::to_string(r.id);
        return scratch;
    }

    void appendLatin(std::string& out, const Row& r) const { m_latin.appendPassage(out, r.id); }
    void appendFrench(std::string& out, const Row& r) const { m_french.appendPassage(out, r.id); }
    template <typename Sink>
    void forEachLatinPiece(const Row& r, Sink&& sink) const { m_latin.forEachPiece(r.id, sink); }
    template <typename Sink>
    void forEachFrenchPiece(const Row& r, Sink&& sink) const { m_french.forEachPiece(r.id, sink); }
    std::size_t latinLength(const Row& r) const { return length(m_latin, r); }
    std::size_t frenchLength(const Row& r) const { return length(m_french, r); }
    // A table's passages do not keep where they end: no phrase is followed past them.
    std::string_view latinTextAfter(const Row&) const { return {}; }

private:
    // `refs` is needed only while the passages are found; it goes when construction ends.
    ResultAttestations(const WordTable& table, const ResultList& results,
                       const std::vector<WordTable::ReferenceId>& refs,
                       std::string_view latinText, const std::string* frenchText)
        : m_table(table),
          m_results(results),
          m_withFrench(frenchText && !frenchText->empty()),
          m_latin(latinText, table, refs),
          m_french(m_withFrench ? std::string_view(*frenchText) : std::string_view(), table,
                   m_withFrench ? refs : std::vector<WordTable::ReferenceId>())
    {
    }

    static std::vector<WordTable::ReferenceId> referenceIdsOf(const WordTable& table,
                                                              const ResultList& results)
    {
        std::vector<WordTable::ReferenceId> refs;
        refs.reserve(results.size());
        for (const WordIndex w : results)
            refs.push_back(table.referenceId(w));
        return refs;
    }

    static std::size_t length(const ReferencePassages& passages, const Row& r)
    {
        std::size_t n = 0;
        passages.forEachPiece(r.id, [&n](std::string_view piece) { n += piece.size(); });
        return n;
    }

    const WordTable& m_table;
    const ResultList& m_results;
    bool m_withFrench;
    ReferencePassages m_latin;
    ReferencePassages m_french;
};

} // namespace quorvex
