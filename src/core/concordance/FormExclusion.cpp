#include "concordance/FormExclusion.h"

#include <unordered_map>
#include <unordered_set>

namespace quorvex {

std::vector<AttestedForm> attestedForms(const WordTable& table, const ResultList& spans, Folding folding)
{
    std::vector<AttestedForm> forms;
    std::unordered_map<std::string, std::size_t> rowOf;
    for (const Attestation& s : spans) {
        std::string written = attestationForm(table, s);
        const auto [it, added] = rowOf.try_emplace(folded(written, folding), forms.size());
        if (added)
            forms.push_back({std::move(written), 0});
        ++forms[it->second].count;
    }
    return forms;
}

ResultList withoutForms(const WordTable& table, const ResultList& spans,
                               const std::vector<std::string>& excluded, Folding folding)
{
    if (excluded.empty())
        return spans;
    std::unordered_set<std::string> gone;
    for (const std::string& form : excluded)
        gone.insert(folded(form, folding));
    ResultList kept;
    kept.reserve(spans.size());
    for (const Attestation& s : spans)
        if (!gone.count(folded(attestationForm(table, s), folding)))
            kept.push_back(s);
    return kept;
}

} // namespace quorvex
