#pragma once
// The attestations of a search as word indices into one word table: nothing is copied, and
// every output reads the forms and references through the table.

#include "concordance/WordTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvex {

using WordIndex = std::uint32_t;
using ResultList = std::vector<WordIndex>;  // word indices into one WordTable

// The words whose form matches the query (FormQuery's rules), in text order. `typedQuery` is
// Windows-1252, as typed.
ResultList findForms(const WordTable& table, std::string_view typedQuery);

// Their number, without building the list.
std::size_t countForms(const WordTable& table, std::string_view typedQuery);

enum class SortKeys {
    Form,               // the grid's column 0
    FormThenReference,  // columns 0 and 1 (the "Formes" button: keys up to the current column)
};

// Stable ascending reorder of `results` as it stands (not of text order), in exactly the
// order the grid's sort gives the same rows: forms compared after Latin-1 lowering, byte by
// byte, references likewise; equal keys keep their order. Forms and references never read
// as numbers, so the grid's number rule never applies. Each distinct form and each distinct
// reference is ranked once, then the rows are sorted on their ranks by counting.
void sortResults(const WordTable& table, ResultList& results, SortKeys keys);

} // namespace quorvex
