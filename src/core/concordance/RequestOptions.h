#pragma once
// The command line's options that shape a search request, each with how it reads its value
// and how it is written back: the command line parses them, "Copier la commande" writes them,
// and the window keeps its choices between runs in the same words. A new choice of the
// request is one row here.

#include "concordance/SearchRequest.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct RequestOption {
    const char* name;       // "--lemma"
    const char* valueName;  // null for a flag
    bool repeatable;        // each use adds a value instead of being refused
    // Sets the choice from the option's value (UTF-8): a French refusal, or "".
    std::string (*read)(SearchRequest& request, const std::string& value);
    // Appends the words that ask for the request's choice; nothing when it is not asked.
    void (*write)(const SearchRequest& request, std::vector<std::string>& args);
};

// An option's value (UTF-8) as Windows-1252 bytes into `into`; a French refusal naming the
// option and the character the code page lacks, or "".
std::string optionValueToCp1252(const std::string& value, const char* option, std::string& into);

// In the order the options are written.
const std::vector<RequestOption>& requestOptions();
const RequestOption* findRequestOption(std::string_view name);

// The command line's options that ask for the request, then "--" and the query: quorvex-cli's
// arguments (UTF-8), so a list shown in a window can be asked again from a script.
std::vector<std::string> requestArguments(const SearchRequest& request);

// The choices written by requestArguments (the option words, without "--" and the query)
// read back into a request; `error` the first refusal, the request then as far as it got.
struct RequestReading {
    SearchRequest request;
    std::string error;
};
RequestReading readRequestArguments(const std::vector<std::string>& args);

} // namespace quorvex
