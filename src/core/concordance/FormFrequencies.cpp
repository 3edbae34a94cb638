#include "concordance/FormFrequencies.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

std::vector<FrequencyGroup> formFrequencies(const WordTable& table, const FormQuery& query)
{
    // Counting the exact spellings first keeps the hot loop to one hash of a view per word;
    // the lowering is then done once per distinct spelling.
    std::unordered_map<std::string_view, std::size_t> exact;
    const std::size_t n = table.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view form = table.form(i);
        if (query.matches(form))
            ++exact[form];
    }

    std::unordered_map<std::string, std::size_t> groupOf;
    std::vector<FrequencyGroup> groups;
    for (const auto& [form, count] : exact) {
        std::string folded = lowered(form);
        auto [it, fresh] = groupOf.try_emplace(std::move(folded), groups.size());
        if (fresh) {
            groups.emplace_back();
            groups.back().folded = it->first;
        }
        FrequencyGroup& g = groups[it->second];
        g.total += count;
        g.variants.push_back(FormCount{form, count});
    }

    for (FrequencyGroup& g : groups)
        std::sort(g.variants.begin(), g.variants.end(), [](const FormCount& a, const FormCount& b) {
            return a.count != b.count ? a.count > b.count : a.form < b.form;
        });
    std::sort(groups.begin(), groups.end(), [](const FrequencyGroup& a, const FrequencyGroup& b) {
        return a.total != b.total ? a.total > b.total : a.folded < b.folded;
    });
    return groups;
}

} // namespace quorvex
