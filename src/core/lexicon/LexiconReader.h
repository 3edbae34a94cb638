#pragma once
// Fills the lexicon's tables from its files' contents (internal to lexicon/).

#include "lexicon/LexiconData.h"
#include "system/CacheFolder.h"

#include <string>
#include <vector>

namespace quorvex::lexicon {

// What problems call each file.
struct LexiconFileNames {
    std::string models = "modeles.la";
    std::string lemmata = "lemmes.la";
    std::string irregulars = "irregs.la";
    std::string assimilations = "assimilations.la";
    std::string contractions = "contractions.la";
    std::string glosses = "lemmes.fr";
    std::string extensionLemmata = "lem_ext.la";
    std::string extensionGlosses = "lem_ext.fr";
};

// One data file read whole (regular files only, a few hundred megabytes at most).
LexiconProblem readWhole(const std::string& path, std::string& out);
// Its identity (size, time, a hash of its bytes), read where it lies; the same problems.
LexiconProblem identifyWhole(const std::string& path, FileIdentity& identity);

void readLexicon(LexiconTables& data, const LexiconTexts& texts, const LexiconFileNames& names,
                 std::vector<LexiconProblem>& problems);

} // namespace quorvex::lexicon
