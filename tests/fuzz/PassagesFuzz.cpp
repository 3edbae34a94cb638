// The passage index and the viewer's scan against the literal scan of their definition: build
// the marker and its key (the marker without letters) character by character; where the key
// equals the reference, the first time take the whole marker, then each character.

#include "FuzzInput.h"

#include "support/PassageIndex.h"
#include "passages/ReferenceScan.h"
#include "text/Letters.h"

#include <map>
#include <set>

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string extra = in.field();  // a reference that may or may not stand in the text
    const std::string text = in.rest();

    // The literal scan, for every key met (the empty one included) at once.
    std::map<std::string, std::string> literal;
    std::string marker, key;
    bool inGroup = false;
    for (const char c : text) {
        if (c == '[') {
            marker = key = "[";
            inGroup = true;
        } else if (c == ']') {
            marker += c;
            key += c;
            inGroup = false;
        } else if (inGroup) {
            marker += c;
            if (!isLetter(c))
                key += c;
        }
        auto [it, first] = literal.try_emplace(key);
        if (first)
            it->second = marker;
        else
            it->second += c;
    }

    std::set<std::string> refs{extra, "", "[", "]", "[1]"};
    for (const auto& [key, passage] : literal)
        refs.insert(key);
    const std::vector<std::string_view> asked(refs.begin(), refs.end());
    const PassageIndex index(text, asked);
    for (const std::string& ref : refs) {
        const auto it = literal.find(ref);
        const bool stands = it != literal.end();
        fuzz::check(index.found(ref) == stands, "found as the literal scan");
        const std::string expected = stands ? it->second : std::string();
        fuzz::check(index.passage(ref) == expected, "passage as the literal scan");
        fuzz::check(index.passageLength(ref) == expected.size(), "passage length");
        const ReferenceScanResult viewer = scanReference(text, ref, Neighbours::Record);
        fuzz::check(viewer.pane.has_value() == stands, "the viewer finds what the scan finds");
        if (viewer.pane)
            fuzz::check(*viewer.pane == expected, "the viewer shows the literal passage");
    }
    return 0;
}
