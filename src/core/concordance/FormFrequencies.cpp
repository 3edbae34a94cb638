#include "concordance/FormFrequencies.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

std::vector<FrequencyGroup> formFrequencies(const WordTable& table, const FormQuery& query)
{
    // The table counted the exact spellings already: the lowering is done once per type.
    std::unordered_map<std::string, std::size_t> groupOf;
    std::vector<FrequencyGroup> groups;
    for (WordTable::TypeId t = 0; t < table.typeCount(); ++t) {
        const std::string_view form = table.typeText(t);
        if (!query.matches(form))
            continue;
        const std::size_t count = table.typeFrequency(t);
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
