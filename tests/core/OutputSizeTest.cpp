// The sizes known before a save: exactly the bytes the writers then write.

#include "output/ExportFormats.h"
#include "output/ResultFile.h"

#include "concordance/PhraseQuery.h"
#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quorvex {
namespace {

struct SizeCase {
    const char* name;
    std::string latin;
    std::string french;  // empty: none
    std::string query;
    std::string title;
};

class OutputSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(OutputSize, IsWhatTheWritersWrite)
{
    const SizeCase& c = GetParam();
    const WordTable table = WordTable::segment(c.latin);
    // A query of several words is a phrase; none, the list before any search.
    const ResultList results =
        c.query.empty() ? emptyRowList() : PhraseQuery(c.query, true, Folding::Case).find(table);
    const std::string* french = c.french.empty() ? nullptr : &c.french;

    std::ostringstream result;
    writeResultFile(result, table, results, c.title, "06/12/2026", c.latin, french);
    EXPECT_EQ(resultFileSize(table, results, c.title, "06/12/2026", c.latin, french),
              result.str().size());

    // The columns of a lemma search, which change from hit to hit even for one form in one
    // passage (its reading there, its aligned words), with characters each format escapes.
    ExportHeading byHit{c.title, c.query};
    byHit.byLemma = true;
    byHit.lemmata = [](const Attestation& hit) { return std::string(hit.first % 2 ? "sum, edo" : "edo"); };
    byHit.analyses = [](const Attestation& hit) { return "\"r\u00E9\tf\" " + std::to_string(hit.first * 7); };
    byHit.equivalents = [](const Attestation& hit) { return std::string(hit.first, '<'); };
    for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html})
        for (const ExportHeading& heading : {ExportHeading{c.title, c.query}, byHit}) {
            std::ostringstream out;
            writeAttestationExport(out, format, table, results, c.latin, french, heading);
            EXPECT_EQ(attestationExportSize(format, table, results, c.latin, french, heading),
                      out.str().size())
                << static_cast<int>(format) << (heading.lemmata ? " by hit" : "");
        }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OutputSize,
    ::testing::Values(
        SizeCase{"parallel", "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n",
                 "[1] Le gar\xE7on aime la rose.\r\n[2] La fille voit la rose.\r\n", "rosam", "Essai"},
        SizeCase{"frenchLacksAReference", "[1] amor\r\n[2] amor \"x\", <y> & z\t\r\n[3] amor",
                 "[1] l'amour\r\n", "amor", "\xE9t\xE9"},
        SizeCase{"noMarkers", "amor amor AMOR amat", "", "amor", ""},
        SizeCase{"markerRepeated", "[1] amor [2] amor [1] amor again\x01\x81", "", "amor", "t"},
        SizeCase{"longForms", "[1] " + std::string(40, 'a') + " " + std::string(34, 'a') + " "
                     + std::string(35, 'a'), "", "a*", "t"},
        SizeCase{"noAttestation", "[1] amor", "[1] l'amour", "rosa", "t"},
        SizeCase{"phraseAcrossAMarker", "[1] puer\r\n[2] rosam amat", "[1] l'enfant\r\n[2] aime",
                 "puer rosam", "t"},
        SizeCase{"emptyRowBeforeAnySearch", "Prooemium. [1] amor", "Pr\xE9" "face [1] l'amour", "", "t"}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
