#pragma once
// The attested forms of a list and the list without some of them (--exclude-form, the
// "Formes du lemme" check boxes). Forms are told apart folded as the search folds them, so
// "Deus" and "DEVS" under the spelling folding are one form, counted together.

#include "concordance/ResultList.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quorvex {

struct AttestedForm {
    std::string form;        // as first written in the list (Windows-1252)
    std::size_t count = 0;   // attestations of the list bearing it
};

// One row per distinct folded form, in the order of their first attestation in `spans`.
std::vector<AttestedForm> attestedForms(const WordTable& table, const ResultList& spans, Folding folding);

// `spans` without the attestations whose form folds as one of `excluded` does (Windows-1252);
// order kept.
ResultList withoutForms(const WordTable& table, const ResultList& spans,
                               const std::vector<std::string>& excluded, Folding folding);

} // namespace quorvex
