#include "cli/KwicCommand.h"

#include "cli/CommandCommon.h"
#include "concordance/FormQuery.h"
#include "output/KwicLines.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace quorvex {

namespace {

// The grid holds no position, so the sorted rows are matched back to the hits: the sort is
// stable, and rows with the same form and reference keep their text order. A form holds
// letters only, so "|" cannot occur inside it and the key is unambiguous.
std::vector<KwicHit> inGridOrder(const std::vector<KwicHit>& hits, std::string_view text,
                                 const GridModel& grid)
{
    auto key = [](std::string_view form, std::string_view ref) {
        std::string k(form);
        k += '|';
        k += ref;
        return k;
    };
    struct Queue {
        std::vector<const KwicHit*> hits;
        std::size_t next = 0;
    };
    std::unordered_map<std::string, Queue> byKey;
    for (const KwicHit& h : hits)
        byKey[key(text.substr(h.offset, h.length), h.reference)].hits.push_back(&h);
    std::vector<KwicHit> sorted;
    sorted.reserve(hits.size());
    for (std::size_t r = 1; r < grid.rows(); ++r) {
        Queue& q = byKey[key(grid.cell(r, 0), grid.cell(r, 1))];
        if (q.next < q.hits.size())  // always, as the grid holds exactly these hits
            sorted.push_back(*q.hits[q.next++]);
    }
    return sorted;
}

} // namespace

int runKwicCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    LatinSearch search;
    if (const int code = loadLatinSearch(options, err, search))
        return code;
    const WordTable& table = search.table;
    const std::string& text = table.text();

    std::vector<KwicHit> hits;
    if (search.searchable) {
        const FormQuery query = FormQuery::parse(search.form);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const std::string_view form = table.form(i);
            if (query.matches(form))
                hits.push_back(KwicHit{table.reference(i),
                                       static_cast<std::size_t>(form.data() - text.data()),
                                       form.size()});
        }
    }
    if (options.sort == SortOrder::Forms) {
        GridModel grid;
        searchSorted(search, SortOrder::Forms, grid);
        hits = inGridOrder(hits, text, grid);
    }
    writeKwicLines(out, text, hits, options.kwicWidth);
    return finishOutput(out, err);
}

} // namespace quorvex
