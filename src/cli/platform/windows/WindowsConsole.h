#pragma once
// How quorvex-cli meets Windows: a command line in UTF-16, standard streams that must carry
// the same bytes as on Linux, and a console that shows UTF-16 text, not UTF-8.

#include "system/Utf16.h"

#include <streambuf>
#include <string>
#include <vector>

namespace quorvex::windows {

// Standard input, output and error in binary mode: no CR slipped in before each LF.
void useBinaryStandardStreams();

// The arguments after the program's name, in UTF-8.
std::vector<std::string> utf8Arguments(int argc, wchar_t* argv[]);

enum class StandardHandle { Output, Error };

// Text for a reader on a standard handle. To a console, each flush goes as UTF-16 through
// WriteConsoleW, so accents show whatever the console's code page; to a file or a pipe, the
// UTF-8 bytes as they are.
class StandardTextBuffer : public std::streambuf {
public:
    explicit StandardTextBuffer(StandardHandle which);
    ~StandardTextBuffer() override;
    StandardTextBuffer(const StandardTextBuffer&) = delete;
    StandardTextBuffer& operator=(const StandardTextBuffer&) = delete;

    bool isConsole() const noexcept { return m_console; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool writeOut(const char* data, std::size_t size);

    void* m_handle = nullptr;
    bool m_console = false;
    Utf8PieceDecoder m_decoder;
    char m_buffer[4096];
};

} // namespace quorvex::windows
