#include "lexicon/LexiconImage.h"

#include "system/CacheFolder.h"

#include <algorithm>

#ifndef QUORVEX_LEXICON_IMAGE_SOURCES
#define QUORVEX_LEXICON_IMAGE_SOURCES "unknown"
#endif

namespace quorvex::lexicon {

LexiconData::LexiconData() = default;
LexiconData::~LexiconData() = default;

namespace {

constexpr std::uint64_t kMagic = 0x4D49584C58565151ull;  // "QQVXLXIM" in a little-endian file
constexpr std::uint64_t kByteOrder = 0x0102030405060708ull;
// The layout below; a change to it or to the reader's sources makes older images stale.
constexpr std::uint64_t kLayout = 1;

std::uint64_t recordSizes()
{
    return (std::uint64_t(sizeof(LemmaRecord)) << 48) | (std::uint64_t(sizeof(ModelEnding)) << 32)
        | (std::uint64_t(sizeof(StemLink)) << 16) | sizeof(StringSlot);
}

void writePairs(ImageWriter& out, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    out.number(pairs.size());
    for (const auto& [a, b] : pairs) {
        out.bytes(a);
        out.bytes(b);
    }
}

bool readPairs(ImageReader& in, std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::uint64_t n = 0;
    if (!in.number(n) || n > 100'000)
        return false;
    pairs.resize(static_cast<std::size_t>(n));
    for (auto& [a, b] : pairs)
        if (!in.bytes(a) || !in.bytes(b))
            return false;
    return true;
}

bool readIndex(ImageReader& in, StringIndex& index)
{
    std::string_view bytes;
    Span<std::uint32_t> starts, lengths;
    Span<StringSlot> slots;
    if (!in.bytes(bytes) || !in.array(starts) || !in.array(lengths) || !in.array(slots)
        || starts.size() != lengths.size() || starts.size() >= StringIndex::npos)
        return false;
    index = StringIndex(bytes, starts.begin(), lengths.begin(), starts.size(), slots.begin(), slots.size());
    return index.valid();
}

bool within(TextSpan span, std::size_t size)
{
    return span.start <= size && span.length <= size - span.start;
}

template <typename T, typename Wrong>
bool none(const Span<T>& v, Wrong wrong)
{
    return std::none_of(v.begin(), v.end(), wrong);
}

// Every index of the tables within what it indexes.
bool consistent(const LexiconData& d)
{
    const std::size_t lemmata = d.lemmata.size();
    if (d.modelEndingStart.empty())
        return false;
    const std::size_t models = d.modelEndingStart.size() - 1;
    const auto badLemma = [lemmata](LemmaId id) { return id >= lemmata; };
    if (!none(d.lemmata, [&d](const LemmaRecord& r) {
            return !within(r.spelling, d.text.size()) || !within(r.folded, d.text.size())
                || !within(r.gloss, d.text.size());
        }))
        return false;
    if (d.lemmaModel.size() != lemmata || d.lemmaPos.size() != lemmata
        || !none(d.lemmaModel, [models](std::uint32_t m) { return m >= models; }))
        return false;
    if (!validStarts(d.byFoldedStart, d.foldedNames.size(), d.byFolded.size()) || !none(d.byFolded, badLemma))
        return false;
    if (d.stemHead.size() != d.stemNames.size()
        || !none(d.stemHead, [&d](std::uint32_t k) { return k != kNoLink && k >= d.stems.size(); })
        || !none(d.stems, [&badLemma](const StemLink& link) { return badLemma(link.lemma); }))
        return false;
    if (!validStarts(d.endingPairStart, d.endingNames.size(), d.endingPairs.size())
        || !validStarts(d.modelEndingStart, models, d.modelEndings.size())
        || !none(d.modelEndings, [&d](const ModelEnding& e) { return e.ending >= d.endingNames.size(); }))
        return false;
    if (!validStarts(d.irregularStart, d.irregularForms.size(), d.irregularLemmata.size())
        || !validStarts(d.irregularAnalysisStart, d.irregularForms.size(), d.irregularAnalysisLemma.size())
        || d.irregularAnalysisMorpho.size() != d.irregularAnalysisLemma.size()
        || !none(d.irregularLemmata, badLemma) || !none(d.irregularAnalysisLemma, badLemma))
        return false;
    return std::is_sorted(d.replacedMorphos.begin(), d.replacedMorphos.end());
}

} // namespace

std::string lexiconImageVersion()
{
    return std::to_string(kLayout) + "-" + QUORVEX_LEXICON_IMAGE_SOURCES;
}

std::string writeLexiconImage(const LexiconTables& t, const std::vector<LexiconProblem>* malformed,
                              const std::vector<std::string>& files)
{
    ImageWriter out;
    out.number(kMagic);
    out.number(kByteOrder);
    out.number(kLayout);
    out.number(recordSizes());
    out.bytes(t.text);
    out.array(t.lemmata);
    out.array(t.lemmaModel);
    out.array(t.lemmaPos);
    t.foldedNames.writeTo(out);
    out.array(t.byFoldedStart);
    out.array(t.byFolded);
    t.stemNames.writeTo(out);
    out.array(t.stemHead);
    out.array(t.stems);
    t.endingNames.writeTo(out);
    out.array(t.endingPairStart);
    out.array(t.endingPairs);
    out.number(t.longestEnding);
    out.array(t.modelEndingStart);
    out.array(t.modelEndings);
    t.irregularForms.writeTo(out);
    out.array(t.irregularStart);
    out.array(t.irregularLemmata);
    out.array(t.irregularAnalysisStart);
    out.array(t.irregularAnalysisLemma);
    out.array(t.irregularAnalysisMorpho);
    out.array(t.replacedMorphos);
    writePairs(out, t.assimilations);
    writePairs(out, t.contractions);
    if (malformed) {
        out.number(malformed->size());
        for (const LexiconProblem& p : *malformed) {
            const auto file = std::find(files.begin(), files.end(), p.file);
            if (file == files.end() || p.kind != ProblemKind::MalformedLine)
                return {};
            out.number(static_cast<std::uint64_t>(file - files.begin()));
            out.number(p.line);
            out.bytes(p.detail);
        }
    }
    return std::move(out.result());
}

bool readLexiconImage(std::string_view image, LexiconData& d, std::vector<LexiconProblem>* malformed,
                      const std::vector<std::string>& files)
{
    ImageReader in(image);
    std::uint64_t magic = 0, order = 0, layout = 0, sizes = 0, longest = 0;
    if (!in.number(magic) || !in.number(order) || !in.number(layout) || !in.number(sizes) || magic != kMagic
        || order != kByteOrder || layout != kLayout || sizes != recordSizes())
        return false;
    const bool read = in.bytes(d.text) && in.array(d.lemmata) && in.array(d.lemmaModel) && in.array(d.lemmaPos)
        && readIndex(in, d.foldedNames) && in.array(d.byFoldedStart) && in.array(d.byFolded)
        && readIndex(in, d.stemNames) && in.array(d.stemHead) && in.array(d.stems)
        && readIndex(in, d.endingNames) && in.array(d.endingPairStart) && in.array(d.endingPairs)
        && in.number(longest) && in.array(d.modelEndingStart) && in.array(d.modelEndings)
        && readIndex(in, d.irregularForms) && in.array(d.irregularStart) && in.array(d.irregularLemmata)
        && in.array(d.irregularAnalysisStart) && in.array(d.irregularAnalysisLemma)
        && in.array(d.irregularAnalysisMorpho) && in.array(d.replacedMorphos) && readPairs(in, d.assimilations)
        && readPairs(in, d.contractions);
    if (!read || longest > 0xFFFFFFFFu || !consistent(d))
        return false;
    d.longestEnding = static_cast<std::uint32_t>(longest);
    std::vector<LexiconProblem> found;
    if (malformed) {
        std::uint64_t problems = 0;
        if (!in.number(problems) || problems > image.size())
            return false;
        for (std::uint64_t i = 0; i < problems; ++i) {
            std::uint64_t file = 0, line = 0;
            LexiconProblem p;
            if (!in.number(file) || !in.number(line) || !in.bytes(p.detail) || file >= files.size())
                return false;
            p.kind = ProblemKind::MalformedLine;
            p.file = files[static_cast<std::size_t>(file)];
            p.line = static_cast<std::size_t>(line);
            found.push_back(std::move(p));
        }
    }
    if (!in.atEnd())
        return false;
    if (malformed)
        malformed->insert(malformed->end(), std::make_move_iterator(found.begin()),
                          std::make_move_iterator(found.end()));
    return true;
}

} // namespace quorvex::lexicon
