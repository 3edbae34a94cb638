#pragma once
// One search as both front ends ask it: the query and every choice that shapes the list (the
// command line's options, the search window's "Outils" menu). Which choices go together is
// said once, here, in the words the command line prints, so the window refuses what the
// command refuses with the same sentence.

#include "concordance/SpellingFold.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// Forms as the "Formes" button; Left and Right by the word before or after each attestation.
enum class SortOrder { Text, Forms, Left, Right };

struct SearchRequest {
    // As typed, UTF-8 (bytes that are not UTF-8 are taken as Windows-1252): a form, with
    // `phrase` a sequence of forms, with `lemma` a lemma of the Latin lexicon.
    std::string query;
    bool phrase = false;
    bool normalize = false;    // spelling folded; a lemma's forms are always compared folded
    bool lemma = false;
    bool lemmaStrict = false;  // with `lemma`: only the words whose likeliest lemma it is
    bool frenchSide = false;   // the French text is searched
    std::optional<std::string> frenchForm;   // Windows-1252; the other passage must hold it
    std::vector<std::string> excludedForms;  // Windows-1252; left out of the list
    std::optional<std::string> frenchLemma;  // UTF-8; the French passage must hold it
    // With frenchForm or frenchLemma: a word aligned to the hit must fit, not any word of its
    // passage.
    bool aligned = false;
    SortOrder sort = SortOrder::Text;
    // With `lemma`: the words of morphos.fr (UTF-8, blank-separated) that each word's
    // likeliest analysis must hold ("subjonctif", "ablatif pluriel").
    std::optional<std::string> morph;
    bool analyses = false;  // with `lemma`: each word's likeliest analysis beside it

    Folding folding() const { return normalize || lemma ? Folding::Spelling : Folding::Case; }
    // Whether the other text of the pair is read to filter the list.
    bool filtersByOtherText() const { return frenchForm.has_value() || frenchLemma.has_value(); }
    // Whether the search needs the French text at all.
    bool needsFrench() const { return frenchSide || filtersByOtherText(); }
    // The window's own search: one form of the Latin text, nothing else asked.
    bool plain() const
    {
        return !phrase && !normalize && !lemma && !frenchSide && !frenchForm && excludedForms.empty()
            && !frenchLemma && !aligned && sort == SortOrder::Text && !morph && !analyses;
    }
    friend bool operator==(const SearchRequest& a, const SearchRequest& b)
    {
        return a.query == b.query && a.phrase == b.phrase && a.normalize == b.normalize && a.lemma == b.lemma
            && a.lemmaStrict == b.lemmaStrict && a.frenchSide == b.frenchSide && a.frenchForm == b.frenchForm
            && a.excludedForms == b.excludedForms && a.frenchLemma == b.frenchLemma && a.aligned == b.aligned && a.sort == b.sort
            && a.morph == b.morph && a.analyses == b.analyses;
    }
    friend bool operator!=(const SearchRequest& a, const SearchRequest& b) { return !(a == b); }
};

// The choices of the request that cannot go together, or that need a French text when
// `frenchText` says none is named: the first such refusal as a French sentence naming the
// command line's options (UTF-8); "" when the request can be searched. A lemma's refusals
// come first, then the French text's.
std::string requestRefusal(const SearchRequest& request, bool frenchText);
// The lemma's part of it alone.
std::string lemmaRefusal(const SearchRequest& request);
// The French text's part of it alone.
std::string frenchRefusal(const SearchRequest& request, bool frenchText);

} // namespace quorvex
