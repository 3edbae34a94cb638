#include "concordance/LemmaFrequencies.h"

#include <algorithm>
#include <map>

namespace quorvex {

std::vector<LemmaFrequency> lemmaFrequencies(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata)
{
    struct Row {
        std::size_t attestations = 0, forms = 0, ambiguous = 0;
    };
    std::map<lexicon::LemmaId, Row> byLemma;
    std::vector<Row> unexplained(lemmata.typeCount());
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type) {
        const TextLemmata::Candidates c = lemmata.candidates(type);
        const std::size_t n = lemmata.typeFrequency(type);
        if (c.empty())
            unexplained[type].attestations = n;
        for (const lexicon::LemmaId id : c) {
            Row& row = byLemma[id];
            row.attestations += n;
            if (c.size > 1)
                row.ambiguous += n;
        }
    }
    for (const TextLemmata::TypeId type : lemmata.writtenFormTypes()) {
        const TextLemmata::Candidates c = lemmata.candidates(type);
        if (c.empty())
            ++unexplained[type].forms;
        for (const lexicon::LemmaId id : c)
            ++byLemma[id].forms;
    }

    std::vector<LemmaFrequency> lines, rest;
    for (const auto& [id, row] : byLemma)
        lines.push_back({std::string(lexicon.lemma(id).spelling), lexicon.lemma(id).gloss, row.attestations, row.forms,
                         row.ambiguous});
    for (TextLemmata::TypeId type = 0; type < lemmata.typeCount(); ++type)
        if (unexplained[type].attestations > 0)
            rest.push_back({std::string(lemmata.typeForm(type)), {}, unexplained[type].attestations,
                            unexplained[type].forms, unexplained[type].ambiguous});
    const auto order = [](const LemmaFrequency& a, const LemmaFrequency& b) {
        if (a.attestations != b.attestations)
            return a.attestations > b.attestations;
        return a.name < b.name;
    };
    std::sort(lines.begin(), lines.end(), order);
    std::sort(rest.begin(), rest.end(), order);
    lines.insert(lines.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    return lines;
}

} // namespace quorvex
