#include "session/SearchChoices.h"

namespace quorvex {

SearchRequest SearchChoices::request(const QString& query) const
{
    SearchRequest r = asked;
    r.query = query.toStdString();
    r.lemmaStrict = r.lemma && r.lemmaStrict;
    r.normalize = folds();
    // A way of filtering, kept while no filter is in effect.
    r.aligned = r.aligned && r.filtersByOtherText();
    if (!r.lemma)
        r.morph.reset();
    return r;
}

} // namespace quorvex
