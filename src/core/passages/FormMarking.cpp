#include "passages/FormMarking.h"

#include "text/Letters.h"

namespace quorvex {

std::vector<MarkRange> formMarks(std::string_view passage, std::string_view form)
{
    std::vector<MarkRange> marks;
    if (form.empty())
        return marks;
    const std::string wanted = lowered(form);
    const std::size_t n = passage.size();
    std::size_t i = 0;
    while (i < n) {
        if (!isLetter(passage[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isLetter(passage[i]))
            ++i;
        if (i - start == wanted.size()) {
            std::size_t k = 0;
            while (k < wanted.size() && lowerChar(passage[start + k]) == wanted[k])
                ++k;
            if (k == wanted.size())
                marks.push_back({start, wanted.size()});
        }
    }
    return marks;
}

} // namespace quorvex
