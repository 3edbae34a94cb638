// Reading a text from a file and the code-page conversions: whatever the bytes, a text or a
// French error comes back, and the conversions agree with one another.

#include "FuzzInput.h"

#include "system/SystemFiles.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <cstdio>
#include <string>
#include <unistd.h>

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        return std::string(tmp ? tmp : "/tmp") + "/quorvex-fuzz-read-" + std::to_string(::getpid());
    }();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const TextReadResult read = readText(path, 1 << 20);
    std::remove(path.c_str());
    if (read.error) {
        const std::string message = describeFileError(read.error);
        fuzz::check(!message.empty(), "an error has a message");
        fuzz::check(isValidUtf8(message), "messages are UTF-8");
    } else if (!read.convertedFromUtf8 && !read.convertedFromUtf16) {
        fuzz::check(read.text == bytes, "a Windows-1252 file is taken byte for byte");
    } else {
        // A byte-order mark, UTF-8 or UTF-16, means the text was converted.
        // Back to UTF-8 and again gives the same bytes.
        const Utf8Conversion again = utf8ToCp1252(cp1252ToUtf8(read.text));
        fuzz::check(again.ok && again.bytes == read.text, "conversions round-trip");
    }

    const std::string utf8 = cp1252ToUtf8(bytes);
    fuzz::check(isValidUtf8(utf8), "cp1252ToUtf8 gives UTF-8");
    const std::string escaped = sys::escapeInvalidUtf8(bytes);
    fuzz::check(isValidUtf8(escaped), "escaped text is UTF-8");
    fuzz::check(isValidUtf8(bytes) == (escaped == bytes), "only invalid bytes are escaped");
    const Utf8Conversion conv = utf8ToCp1252(bytes);
    if (conv.ok)
        fuzz::check(cp1252ToUtf8(conv.bytes) == bytes, "UTF-8 to the code page and back");
    return 0;
}
