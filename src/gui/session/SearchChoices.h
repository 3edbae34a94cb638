#pragma once
// The reader's choices of the search window's "Outils" menu, each the counterpart of one
// quorvex-cli option, so a list built from them equals the CLI's for the same options. With
// every choice off the search is the window's own form search.

#include "concordance/SearchRequest.h"

#include <QString>
#include <QStringList>

namespace quorvex {

// The order the list is shown in; "Formes" keeps its own keys (the current column).
enum class ListOrder { Text, Forms, LeftWord, RightWord };

struct SearchChoices {
    bool lemma = false;        // --lemma: the query is a lemma of the Latin lexicon
    bool lemmaStrict = false;  // --lemma-strict, only with lemma
    bool normalize = false;    // --normalize (always in effect under lemma)
    bool phrase = false;       // --phrase
    bool frenchSide = false;   // --side french
    QString frenchForm;        // --french-form; empty: no filter
    QStringList excludedForms; // --exclude-form, one each; held until another lemma is searched
    QString frenchLemma;       // --french-lemma; empty: no filter
    // --aligned whenever a French form or lemma filters: the hit's aligned words must hold it.
    bool aligned = false;
    QString morph;             // --morph, only with lemma; empty: no filter
    bool markTranslations = false;  // the viewer marks the equivalents in the French pane

    // Spelling folded: asked for, or implied by the lemma search.
    bool folds() const { return normalize || lemma; }
    // Whether any choice changes the search or the viewer.
    bool any() const
    {
        return lemma || normalize || phrase || frenchSide || !frenchForm.isEmpty()
            || !excludedForms.isEmpty() || !frenchLemma.isEmpty() || aligned || !morph.isEmpty()
            || markTranslations;
    }
    bool operator==(const SearchChoices& o) const
    {
        return lemma == o.lemma && lemmaStrict == o.lemmaStrict && normalize == o.normalize
            && phrase == o.phrase && frenchSide == o.frenchSide && frenchForm == o.frenchForm
            && excludedForms == o.excludedForms && frenchLemma == o.frenchLemma && aligned == o.aligned
            && morph == o.morph
            && markTranslations == o.markTranslations;
    }
    bool operator!=(const SearchChoices& o) const { return !(*this == o); }

    // The core's request these choices make of `query` (the list in text order): what the
    // search runs, what the menu checks and what "Copier la commande" writes.
    SearchRequest request(const QString& query) const;
};

} // namespace quorvex
