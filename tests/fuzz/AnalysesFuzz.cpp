// Phrases, spelling folding, collocates and the dispersion picture over random texts, random
// queries and random attestation lists: spans stay inside the word table, folding is stable,
// scores are numbers in order, every attestation gets its tick, and the picture is UTF-8.

#include "FuzzInput.h"

#include "concordance/Collocates.h"
#include "concordance/PhraseQuery.h"
#include "concordance/SpellingFold.h"
#include "concordance/WordTable.h"
#include "output/DispersionPlot.h"
#include "text/Cp1252.h"

#include <cmath>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

void checkFolding(const std::string& form)
{
    const std::string once = folded(form, Folding::Spelling);
    fuzz::check(folded(once, Folding::Spelling) == once, "spelling folding is stable");
    fuzz::check(spellingFoldEquals(form, once), "a form equals its fold");
    for (std::size_t cut = 0; cut <= once.size(); cut += 1 + once.size() / 4) {
        fuzz::check(spellingFoldStartsWith(form, once.substr(0, cut)), "a fold starts with its prefix");
        fuzz::check(spellingFoldEndsWith(form, once.substr(cut)), "a fold ends with its suffix");
    }
    fuzz::check(!spellingFoldEquals(form, once + "x"), "a longer fold differs");
}

void checkAnalyses(const WordTable& table, const ResultList& spans, std::size_t window, Folding folding)
{
    const std::vector<Collocate> collocates = findCollocates(table, spans, window, folding);
    for (std::size_t i = 0; i < collocates.size(); ++i) {
        const Collocate& c = collocates[i];
        fuzz::check(std::isfinite(c.mi) || c.cooccurrences == 0, "mutual information is a number");
        fuzz::check(std::isfinite(c.logLikelihood), "log-likelihood is a number");
        fuzz::check(c.cooccurrences >= 1 && c.frequency >= 1, "a collocate was met");
        if (i > 0)
            fuzz::check(std::round(collocates[i - 1].logLikelihood * 1000)
                            >= std::round(c.logLikelihood * 1000),
                        "collocates by log-likelihood descending");
    }
    const std::vector<DispersionBand> bands = dispersionBands(table, spans);
    std::size_t ticks = 0;
    for (const DispersionBand& band : bands) {
        for (const std::size_t tick : band.ticks)
            fuzz::check(tick < band.words, "a tick stands among its band's words");
        ticks += band.ticks.size();
    }
    fuzz::check(ticks == spans.size(), "one tick per attestation");
    const std::string form = spans.empty() ? std::string() : attestationForm(table, spans.front());
    fuzz::check(isValidUtf8(dispersionSvg(bands, form)), "the picture is UTF-8");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string query = in.field();
    const unsigned char flags = in.byte();
    const std::size_t window = 1 + in.byte() % kMaxCollocateWindow;
    const std::string picks = in.field();
    const WordTable table = WordTable::segment(in.rest());
    const bool phrase = flags & 1;
    const Folding folding = (flags & 2) ? Folding::Spelling : Folding::Case;

    checkFolding(query);
    const ResultList found = PhraseQuery(query, phrase, folding).find(table);
    for (std::size_t i = 0; i < found.size(); ++i) {
        fuzz::check(found[i].words >= 1 && found[i].first + std::size_t(found[i].words) <= table.size(),
                    "a phrase stands inside the word table");
        if (i > 0)
            fuzz::check(found[i - 1].first < found[i].first, "phrases in text order");
        checkFolding(attestationForm(table, found[i]));
    }
    checkAnalyses(table, found, window, folding);

    // A list of any spans inside the table, in the order the bytes give.
    if (table.size() > 0) {
        ResultList any;
        for (std::size_t i = 0; i + 1 < picks.size(); i += 2) {
            const auto first = static_cast<std::uint32_t>(static_cast<unsigned char>(picks[i]) * 257u % table.size());
            const auto room = static_cast<std::uint32_t>(table.size() - first);
            any.push_back({first, 1 + static_cast<std::uint32_t>(static_cast<unsigned char>(picks[i + 1]) % room)});
        }
        checkAnalyses(table, any, window, folding);
    }
    return 0;
}
