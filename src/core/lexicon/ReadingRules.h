#pragma once
// What a Latinist expects of a lemma search and the lexicon's models do not give, each in
// one table with where a grammar says it (A&G: Allen and Greenough, New Latin Grammar,
// 1903): forms the grammars list that the models do not make, a participle that belongs to
// another verb as well, and the dictionary heads a reader types for lexicon entries filed
// under another name. Folded spellings (a-z) throughout.

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvex::lexicon {

// A form ending in `ending` may be the form the models make with one of `full` (comma-
// separated) in its place, read as morphology `morpho` only. Tried when no reading of the
// form has that morphology already, or (`whenUnknown`) when the form has no reading at all:
// "tristi" must not become a short perfect of tero.
struct FormRule {
    std::string_view name;
    std::string_view source;
    std::string_view ending;
    std::string_view full;
    std::uint16_t morpho;
    bool whenUnknown;
};
const std::vector<FormRule>& formRules();

// A form a grammar lists that the lexicon lacks: its lemma (folded name, homograph) and its
// morphologies.
struct ListedForm {
    std::string_view form;
    std::string_view lemma;
    std::uint16_t homograph;
    std::vector<std::uint16_t> morphos;
    std::string_view source;
};
const std::vector<ListedForm>& listedForms();

// The perfect passive participle of `owner` is also `verb`'s (factus of fio is facio's).
struct ParticipleOwner {
    std::string_view owner;
    std::string_view verb;
    std::string_view source;
};
const std::vector<ParticipleOwner>& participleOwners();
inline constexpr std::uint16_t kFirstPerfectParticiple = 303, kLastPerfectParticiple = 338;

// A name a reader types that also designates another entry of the lexicon: "ab" the
// preposition filed as "a", "oportet" the verb filed as "oporteo", "atque" its short form
// "ac" as well.
struct ReaderName {
    std::string_view typed;
    std::string_view lemma;
    std::uint16_t homograph;
};
const std::vector<ReaderName>& readerNames();

// Spellings of later Latin, tried on a word the lexicon cannot read as written: each gives
// the classical spellings to try (one change at a time).
struct LaterSpelling {
    std::string_view name;
    std::string_view later;      // what the word holds
    std::string_view classical;  // what it stands for
    bool anywhere;               // else only at the word's start
};
const std::vector<LaterSpelling>& laterSpellings();

} // namespace quorvex::lexicon
