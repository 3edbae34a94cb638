#include "passages/BothSides.h"

#include "passages/ReferencePassages.h"
#include "text/MarkerReader.h"

#include <unordered_map>

namespace quorvex {

bool passageHolds(std::string_view passage, const WordPattern& pattern, LetterSet letters)
{
    const auto& isWordByte = letterTable(letters);
    bool holds = false;
    forEachWordOutsideMarkers(
        passage, [&isWordByte](unsigned char c) { return isWordByte[c]; },
        [&](std::size_t, std::string_view word) {
            holds = pattern.matches(word);
            return !holds;
        });
    return holds;
}

ResultList keepWhereOtherPassageHolds(const WordTable& table, const ResultList& spans,
                                             std::string_view otherText, const WordPattern& pattern,
                                             LetterSet letters)
{
    // Many attestations share a passage: each reference's passage is found and looked at once.
    std::unordered_map<WordTable::ReferenceId, bool> holds;
    std::vector<WordTable::ReferenceId> ids;
    for (const Attestation& s : spans) {
        const WordTable::ReferenceId id = table.referenceId(s.first);
        if (holds.emplace(id, false).second)
            ids.push_back(id);
    }
    const ReferencePassages passages(otherText, table, ids);
    for (const WordTable::ReferenceId id : ids)
        holds[id] = passageHolds(passages.passage(id), pattern, letters);

    ResultList kept;
    for (const Attestation& s : spans)
        if (holds[table.referenceId(s.first)])
            kept.push_back(s);
    return kept;
}

} // namespace quorvex
