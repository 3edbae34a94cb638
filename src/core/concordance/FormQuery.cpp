#include "concordance/FormQuery.h"

namespace quorvex {

FormQuery FormQuery::parse(std::string_view typed)
{
    FormQuery q;
    q.lowered = quorvex::lowered(typed);
    const std::size_t star = q.lowered.find('*');
    if (star == std::string::npos) {
        q.prefix = q.lowered;
    } else {
        q.wildcard = true;
        q.prefix = q.lowered.substr(0, star);
        q.suffix = q.lowered.substr(star + 1);
    }
    return q;
}

} // namespace quorvex
