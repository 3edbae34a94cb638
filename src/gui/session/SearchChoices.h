#pragma once
// The reader's choices of the search window's "Outils" menu: the core's request as the reader
// left it, so a list built from them equals the CLI's for the same options, and a choice of
// the request needs no field of its own here. With every choice off the search is the
// window's own form search.

#include "concordance/SearchRequest.h"

#include <QString>

namespace quorvex {

// The order the list is shown in; "Formes" keeps its own keys (the current column).
enum class ListOrder { Text, Forms, LeftWord, RightWord };

struct SearchChoices {
    // A choice stays as the reader set it while another makes it idle (the strict lemma
    // without the lemma search, the aligned filter without a filter, the analysis without a
    // lemma): request() leaves such a choice out. The query is not held here.
    SearchRequest asked;
    bool markTranslations = false;  // the viewer marks the equivalents in the French pane

    // Spelling folded: asked for, or implied by the lemma search.
    bool folds() const { return asked.normalize || asked.lemma; }
    // Whether any choice changes the search or the viewer.
    bool any() const { return !asked.plain() || markTranslations; }
    bool operator==(const SearchChoices& o) const
    {
        return asked == o.asked && markTranslations == o.markTranslations;
    }
    bool operator!=(const SearchChoices& o) const { return !(*this == o); }

    // The core's request these choices make of `query` (the list in text order): what the
    // search runs, what the menu checks and what "Copier la commande" writes.
    SearchRequest request(const QString& query) const;
};

} // namespace quorvex
