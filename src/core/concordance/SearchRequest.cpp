#include "concordance/SearchRequest.h"

namespace quorvex {

std::string lemmaRefusal(const SearchRequest& r)
{
    // The tagger reads a lemma search's words only.
    if (!r.lemma && (r.morph || r.analyses))
        return std::string(r.morph ? "--morph" : "--analyses") + " ne s'emploie qu'avec --lemma.";
    if (!r.lemma)
        return {};
    const std::string option = r.lemmaStrict ? "--lemma-strict" : "--lemma";
    if (r.phrase)
        return option + " ne s'emploie pas avec --phrase (un lemme est un seul mot).";
    if (r.frenchSide)
        return option + " cherche dans le texte latin, pas avec --side french.";
    if (r.query.find('*') != std::string::npos)
        return "un lemme ne contient pas de « * » (« " + r.query + " »).";
    return {};
}

std::string frenchRefusal(const SearchRequest& r, bool frenchText)
{
    if ((r.frenchSide || r.frenchForm) && !frenchText)
        return std::string(r.frenchSide ? "--side french" : "--french-form")
            + " demande le texte français (--french FICHIER).";
    if (r.frenchLemma && !frenchText)
        return "--french-lemma demande le texte français (--french FICHIER).";
    if (r.frenchLemma && r.frenchSide)
        return "--french-lemma ne s'emploie pas avec --side french.";
    if (r.frenchSide && r.frenchForm)
        return "--french-form ne s'emploie pas avec --side french (la forme cherchée est déjà "
               "française).";
    if (r.aligned && !r.frenchForm && !r.frenchLemma)
        return "--aligned ne s'emploie qu'avec --french-form ou --french-lemma.";
    return {};
}

std::string requestRefusal(const SearchRequest& r, bool frenchText)
{
    std::string refusal = lemmaRefusal(r);
    return refusal.empty() ? frenchRefusal(r, frenchText) : refusal;
}

} // namespace quorvex
