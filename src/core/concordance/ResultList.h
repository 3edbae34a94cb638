#pragma once
// The attestations of a search as word indices into one word table: nothing is copied, and
// every window, command and output reads the forms and references through the table. An
// attestation is its first word and its number of words (a phrase is several); before any
// search the list holds one attestation of no word, the grid's empty row.

#include "concordance/WordTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

using WordIndex = std::uint32_t;

// The captions of the list's two columns, Windows-1252: the grid's header row, which the
// saved file and the printout repeat.
inline constexpr std::string_view kFormsHeader = "Forme(s)";
inline constexpr std::string_view kReferencesHeader = "R\xE9" "f\xE9" "rences";

struct Attestation {
    WordIndex first = 0;
    std::uint32_t words = 1;  // 0: the empty row, which has no form and no reference
    friend bool operator==(const Attestation& a, const Attestation& b)
    {
        return a.first == b.first && a.words == b.words;
    }
};
using ResultList = std::vector<Attestation>;

// The list before any search: the header's one empty row.
inline ResultList emptyRowList() { return ResultList{Attestation{0, 0}}; }
// Whether the list is that one empty row: no search has filled it.
inline bool isEmptyRowList(const ResultList& list) { return list.size() == 1 && list.front().words == 0; }
// Whether the list holds attestations: neither empty nor the empty row.
inline bool holdsAttestations(const ResultList& list) { return !list.empty() && list.front().words > 0; }

// The form as the grid shows it: the words as written, joined by one blank (built in
// `scratch` when there are several), "" for the empty row.
std::string_view attestationForm(const WordTable& table, const Attestation& a, std::string& scratch);
std::string attestationForm(const WordTable& table, const Attestation& a);
// Its reference text, that of its first word ("" for the empty row).
void appendAttestationReference(const WordTable& table, const Attestation& a, std::string& out);
// Where it stands in the table's text: from its first word's start to its last word's end.
std::size_t attestationOffset(const WordTable& table, const Attestation& a);
std::size_t attestationLength(const WordTable& table, const Attestation& a);

// The words whose form matches the query (FormQuery's rules), in text order. `typedQuery` is
// Windows-1252, as typed.
ResultList findForms(const WordTable& table, std::string_view typedQuery);

// Their number, without building the list.
std::size_t countForms(const WordTable& table, std::string_view typedQuery);
// The same straight from a text, without a word table: a count needs neither the words kept
// nor their references.
std::size_t countForms(std::string_view text, std::string_view typedQuery,
                       LetterSet letters = LetterSet::Window);

enum class SortKeys {
    Form,               // the grid's column 0
    FormThenReference,  // columns 0 and 1 (the "Formes" button: keys up to the current column)
};

// Stable ascending reorder of `results` as it stands (not of text order), in exactly the
// order the grid's sort gives the same rows: forms compared after Latin-1 lowering, byte by
// byte (a phrase's words with one blank between them, compared in place), references
// likewise; equal keys keep their order. Forms and references never read as numbers, so the
// grid's number rule never applies. Each distinct form and each distinct reference is ranked
// once, then the rows are sorted on their ranks by counting.
void sortResults(const WordTable& table, ResultList& results, SortKeys keys);

} // namespace quorvex
