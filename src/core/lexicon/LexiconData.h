#pragma once
// The lexicon's tables, shared by its reader (LexiconReader.cpp) and its queries
// (Lexicon.cpp). Every string in them is folded (a-z).

#include "lexicon/Lexicon.h"
#include "lexicon/StringTable.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorvex::lexicon {

// One ending of a model: the form is the root numbered `root` followed by `ending`.
struct EndingEntry {
    std::uint16_t morpho = 0;
    std::uint8_t root = 0;
    std::string ending;
};

// How a model derives a root from the lemma's canonical form, unless the lemma gives it.
struct RootRule {
    enum class Kind { Cut, Canonical, FromLemmaOnly } kind = Kind::Cut;
    std::size_t cut = 0;  // letters taken off the end, then `add` appended
    std::string add;
};

struct Model {
    std::string name;
    char pos = 0;  // 'n', 'a', 'p', 'v', 'd', 'm'... from "pos:", else the parent's; 0: invariable
    std::vector<EndingEntry> inheritable;  // what a child model starts from
    std::vector<EndingEntry> endings;      // with this model's suffixes: what analysis uses
    std::map<int, RootRule> roots;
    std::vector<std::uint8_t> rootsUsed;   // the root numbers its endings use
};

class LexiconData {
public:
    std::vector<Model> models;
    std::unordered_map<std::string, std::uint32_t> modelByName;

    std::vector<Lemma> lemmata;
    std::vector<std::uint32_t> lemmaModel;  // by lemma
    std::vector<char> lemmaPos;             // by lemma: its model's part of speech, or its note's
    StringTable foldedNames;                        // "edo"
    std::vector<std::vector<LemmaId>> byFolded;     // by folded name: every homograph
    StringTable spellings;                          // "edo2", "Abas": one lemma each
    std::vector<LemmaId> bySpelling;                // by spelling

    // Roots: a chain of (lemma, root number) per folded root.
    struct StemLink {
        LemmaId lemma;
        std::uint8_t root;
        std::uint32_t next;  // kNone ends the chain
    };
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    StringTable stemNames;
    std::vector<std::uint32_t> stemHead;  // by stem name: its first link
    std::vector<StemLink> stems;

    // Per ending, the sorted (model << 8 | root) pairs that have it.
    std::unordered_map<std::string, std::vector<std::uint32_t>> endingIndex;
    std::size_t longestEnding = 0;

    std::unordered_map<std::string, std::vector<LemmaId>> irregulars;
    std::unordered_map<std::string, std::vector<Analysis>> irregularAnalyses;
    // A lemma's morphologies whose regular form an exclusive irregular form replaces.
    std::unordered_map<LemmaId, std::vector<std::uint16_t>> replacedMorphos;

    std::vector<std::pair<std::string, std::string>> assimilations;  // both ways
    std::vector<std::pair<std::string, std::string>> contractions;   // short, full

    void addStem(const std::string& stem, LemmaId lemma, std::uint8_t root);
    void indexEndings(std::uint32_t model);
};

} // namespace quorvex::lexicon
