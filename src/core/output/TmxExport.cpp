#include "output/TmxExport.h"

#include "output/ExportFormats.h"
#include "passages/ReferencePassages.h"

#include <algorithm>

namespace quorvex {

namespace {

// The passage's text without its marker, line breaks (CR LF, CR or LF) as one blank,
// trimmed, Windows-1252.
std::string segmentText(const ReferencePassages& passages, WordTable::ReferenceId id)
{
    std::string text;
    bool first = true;
    passages.forEachStretch(id, [&](std::string_view stretch) {
        // A later stretch opens with the "]" of the marker standing again.
        if (!first && !stretch.empty() && stretch.front() == ']')
            stretch.remove_prefix(1);
        first = false;
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            const char c = stretch[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < stretch.size() && stretch[i + 1] == '\n')
                    ++i;
                text += ' ';
            } else {
                text += c;
            }
        }
    });
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

// "&" "<" ">" and the quote as entities, and U+FFFD for what XML 1.0 forbids.
void appendEscaped(std::string& out, std::string_view cp1252)
{
    appendField(out, ExportFormat::Tmx, cp1252);
}

void appendUnit(std::string& out, const char* language, const std::string& segment)
{
    out += "<tuv xml:lang=\"";
    out += language;
    out += "\"><seg>";
    appendEscaped(out, segment);
    out += "</seg></tuv>\n";
}

} // namespace

std::string tmxDocument(const WordTable& table, const ResultList& results,
                        std::string_view latinText, const std::string* frenchText,
                        std::string_view version)
{
    // Each distinct reference once, where it first stands in the text.
    std::vector<std::pair<WordIndex, WordTable::ReferenceId>> firsts;
    {
        std::vector<WordIndex> firstWord(table.referenceCount(), ~WordIndex(0));
        for (const Attestation& a : results) {
            if (a.words == 0)
                continue;  // the empty row has no reference
            WordIndex& f = firstWord[table.referenceId(a.first)];
            f = std::min(f, a.first);
        }
        for (std::size_t id = 0; id < firstWord.size(); ++id)
            if (firstWord[id] != ~WordIndex(0))
                firsts.emplace_back(firstWord[id], static_cast<WordTable::ReferenceId>(id));
        std::sort(firsts.begin(), firsts.end());
    }
    std::vector<WordTable::ReferenceId> refs;
    refs.reserve(firsts.size());
    for (const auto& f : firsts)
        refs.push_back(f.second);

    const bool withFrench = frenchText && !frenchText->empty();
    const ReferencePassages latin(latinText, table, refs);
    const ReferencePassages french(withFrench ? std::string_view(*frenchText) : std::string_view(),
                                   table, withFrench ? refs : std::vector<WordTable::ReferenceId>());

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
                      "<header creationtool=\"Veltrano - Quorvex\" creationtoolversion=\"";
    appendEscaped(out, version);
    out += "\" segtype=\"paragraph\" o-tmf=\"Quorvex\" adminlang=\"fr\" srclang=\"la\""
           " datatype=\"plaintext\"/>\n<body>\n";
    std::string scratch;
    for (const WordTable::ReferenceId id : refs) {
        out += "<tu tuid=\"";
        scratch.clear();
        table.appendReferenceText(id, scratch);
        appendEscaped(out, scratch);
        out += "\">\n";
        appendUnit(out, "la", segmentText(latin, id));
        if (french.found(id))
            appendUnit(out, "fr", segmentText(french, id));
        out += "</tu>\n";
    }
    out += "</body>\n</tmx>\n";
    return out;
}

} // namespace quorvex
