// The command line's parsing: any arguments give options or a French message, which stays
// valid UTF-8 once shown.

#include "FuzzInput.h"

#include "cli/CliOptions.h"
#include "system/SystemFiles.h"
#include "text/Cp1252.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    std::vector<std::string> args;
    for (int i = 0; i < 12; ++i) {
        std::string a = in.field();
        if (a.empty() && in.rest().empty())
            break;
        args.push_back(std::move(a));
    }
    const CliParseResult parsed = parseCliOptions(args);
    if (!parsed.ok())
        fuzz::check(isValidUtf8(sys::escapeInvalidUtf8(parsed.error)), "shown messages are UTF-8");
    for (const std::string& a : args) {
        const ArgumentConversion conv = argumentToCp1252(a);
        fuzz::check(conv.missingChar.empty() || isValidUtf8(conv.missingChar), "the missing character is UTF-8");
    }
    return 0;
}
