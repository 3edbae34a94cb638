#pragma once
// Whether two lexicons read alike: the same lemmata, and the same answers for each form of a
// list. What a lexicon read from its image is held to against the one parsed from the files.

#include "lexicon/Lexicon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex::testsupport {

inline ::testing::AssertionResult sameLemmata(const lexicon::Lexicon& a, const lexicon::Lexicon& b)
{
    if (a.lemmaCount() != b.lemmaCount())
        return ::testing::AssertionFailure() << a.lemmaCount() << " lemmata against " << b.lemmaCount();
    for (lexicon::LemmaId id = 0; id < a.lemmaCount(); ++id) {
        const lexicon::Lemma x = a.lemma(id), y = b.lemma(id);
        if (x.spelling != y.spelling || x.folded != y.folded || x.homograph != y.homograph
            || x.frequency != y.frequency || x.gloss != y.gloss || x.closedClass != y.closedClass
            || a.partOfSpeech(id) != b.partOfSpeech(id))
            return ::testing::AssertionFailure() << "lemma " << id << " (" << x.spelling << ", " << y.spelling << ")";
        if (a.lemmataNamed(std::string(x.folded)) != b.lemmataNamed(std::string(y.folded)))
            return ::testing::AssertionFailure() << "the lemmata named " << x.folded;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult sameAnswers(const lexicon::Lexicon& a, const lexicon::Lexicon& b,
                                              const std::vector<std::string>& forms)
{
    std::vector<lexicon::LemmaId> x, y;
    for (const std::string& form : forms) {
        x.clear();
        y.clear();
        a.analyse(form, x);
        b.analyse(form, y);
        const lexicon::FormAnalyses p = a.analyses(form), q = b.analyses(form);
        if (x != y || !(p.readings == q.readings) || p.enclitic != q.enclitic || a.knowsForm(form) != b.knowsForm(form))
            return ::testing::AssertionFailure() << "« " << form << " »: " << a.spellings(x) << " against "
                                                 << b.spellings(y);
    }
    return ::testing::AssertionSuccess();
}

} // namespace quorvex::testsupport
