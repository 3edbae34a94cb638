#include "session/SearchChoices.h"

#include "platform/TextCodec.h"

namespace quorvex {

SearchRequest SearchChoices::request(const QString& query) const
{
    SearchRequest r;
    r.query = query.toStdString();
    r.lemma = lemma;
    r.lemmaStrict = lemma && lemmaStrict;
    r.normalize = folds();
    r.phrase = phrase;
    r.frenchSide = frenchSide;
    if (!frenchForm.isEmpty())
        r.frenchForm = toCp1252(frenchForm);
    for (const QString& form : excludedForms)
        r.excludedForms.push_back(toCp1252(form));
    if (!frenchLemma.isEmpty())
        r.frenchLemma = frenchLemma.toStdString();
    // A way of filtering, kept while no filter is in effect.
    r.aligned = aligned && r.filtersByOtherText();
    if (lemma && !morph.trimmed().isEmpty())
        r.morph = morph.trimmed().toStdString();
    return r;
}

} // namespace quorvex
