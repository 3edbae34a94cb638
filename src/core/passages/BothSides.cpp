#include "passages/BothSides.h"

#include "passages/ReferencePassages.h"

#include <unordered_map>

namespace quorvex {

bool passageHolds(std::string_view passage, const WordPattern& pattern, LetterSet letters)
{
    const auto& isWordByte = letterTable(letters);
    std::size_t i = 0;
    const std::size_t n = passage.size();
    while (i < n) {
        if (passage[i] == '[') {
            const std::size_t close = passage.find(']', i);
            i = close == std::string_view::npos ? n : close + 1;
            continue;
        }
        if (!isWordByte[static_cast<unsigned char>(passage[i])]) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isWordByte[static_cast<unsigned char>(passage[i])])
            ++i;
        if (pattern.matches(passage.substr(start, i - start)))
            return true;
    }
    return false;
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
