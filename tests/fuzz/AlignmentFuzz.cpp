// Any pair of texts through the word alignment, with pieces small enough that short inputs
// are cut where their sentences meet: every Latin word's rendering lies in the French passage
// of its reference, and the pieces cover each pair in order.

#include "FuzzInput.h"

#include "translation/SentenceAlignment.h"
#include "translation/TextAlignment.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    AlignmentSettings settings;
    settings.cutting.cutAbove = in.byte() % 24;
    settings.cutting.pieceWords = in.byte() % 12;
    settings.twoThreads = false;
    const std::string latinText = in.field();
    const std::string french = in.rest();

    const WordTable latin = WordTable::segment(latinText);
    FrenchLemmas lemmas(nullptr);
    const TextAlignment alignment = alignTexts(latin, french, lemmas, nullptr, settings);
    for (std::size_t w = 0; w < latin.size(); ++w) {
        const TextAlignment::FrenchWord* begin = nullptr;
        const TextAlignment::FrenchWord* end = nullptr;
        const bool hasFrench = alignment.frenchWordsOf(latin.referenceId(w), begin, end);
        alignment.forEachRendering(w, [&](const TextAlignment::FrenchWord& fw) {
            fuzz::check(hasFrench && &fw >= begin && &fw < end, "a rendering lies in the reference's French passage");
            fuzz::check(fw.offset + fw.length <= french.size(), "a rendering lies in the French text");
        });
    }

    // The same bytes as the two sides of one passage pair.
    PassageSide sides[2];
    for (std::size_t k = 0; k < latinText.size(); ++k)
        sides[k % 2].add(static_cast<unsigned char>(latinText[k]) % 16, latinText[k] == '.');
    const std::vector<PieceEnd> pieces = cutPassagePair(sides[0], sides[1], settings.cutting);
    fuzz::check(!pieces.empty() && pieces.back() == (PieceEnd{sides[0].words(), sides[1].words()}),
                "the pieces end where the pair ends");
    PieceEnd start;
    for (const PieceEnd& e : pieces) {
        fuzz::check(e.latin >= start.latin && e.french >= start.french, "the pieces follow one another");
        start = e;
    }
    return 0;
}
