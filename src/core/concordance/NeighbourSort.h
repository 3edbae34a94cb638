#pragma once
// Orders of the list by the words around each attestation: the word before it (after it),
// then the next word out, then text order. Words are compared folded as the search folds
// them (the window's lowering, or the spelling folding), byte by byte as "Formes" compares
// forms; a marker between words does not count, and where the text has no word a missing
// word sorts before every word.

#include "concordance/ResultList.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"

#include <vector>

namespace quorvex {

enum class Neighbour { Left, Right };

// Reorders `spans` (attestations of `table`) by their neighbours on `side`.
void sortByNeighbour(const WordTable& table, ResultList& spans, Neighbour side, Folding folding);

} // namespace quorvex
