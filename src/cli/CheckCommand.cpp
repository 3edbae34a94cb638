#include "cli/CheckCommand.h"

#include "cli/CommandCommon.h"
#include "concordance/SearchResult.h"
#include "text/Cp1252.h"
#include "text/Letters.h"
#include "passages/ReferenceCheck.h"

#include <string>

namespace quorvex {

namespace {

// A marker that runs on for lines (a "]" forgotten) would swamp the report: cut it, and show
// its line breaks as blanks so that each finding keeps one line.
std::string shownMarker(std::string_view marker)
{
    constexpr std::size_t kLongest = 60;
    std::string s(marker.substr(0, kLongest));
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    std::string utf8 = cp1252ToUtf8(s);
    if (marker.size() > kLongest)
        utf8 += "\xE2\x80\xA6";  // ellipsis
    return utf8;
}

std::string withoutLetters(std::string_view marker)
{
    std::string key;
    for (char c : marker)
        if (!isLetter(c))
            key += c;
    return key;
}

std::string describe(const CheckFinding& f)
{
    const std::string marker = shownMarker(f.marker);
    switch (f.kind) {
    case FindingKind::MissingInOther:
        return "la référence " + marker + " manque dans le texte "
            + (f.text == CheckedText::Latin ? "français." : "latin.");
    case FindingKind::Duplicate:
        return "la référence " + marker + " est répétée (première fois ligne "
            + std::to_string(f.otherLine) + ").";
    case FindingKind::OutOfOrder:
        return "la référence " + marker + " n'est pas dans l'ordre : elle suit "
            + shownMarker(f.other) + " (ligne " + std::to_string(f.otherLine) + ").";
    case FindingKind::HoldsLetters:
        return "la référence " + marker
            + " contient des lettres ; la recherche la lit sans elles : "
            + shownMarker(withoutLetters(f.marker)) + ".";
    case FindingKind::StrayClose:
        return "un « ] » ne ferme aucune référence.";
    case FindingKind::UnclosedOpen:
        return "un « [ » n'est fermé par aucun « ] ».";
    }
    return {};
}

std::string plural(std::size_t n, const char* word)
{
    return std::to_string(n) + " " + word + (n > 1 ? "s" : "");
}

} // namespace

int runCheckCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    SearchTexts texts;
    if (const int read = readTexts(options, err, texts); read != kExitOk)
        return read;
    const bool withFrench = !options.frenchPath.empty();

    const std::string_view frenchText = texts.text(true);
    const ReferenceCheck check = checkReferences(texts.text(false), withFrench ? &frenchText : nullptr);

    std::string report;
    for (const CheckFinding& f : check.findings) {
        report += f.text == CheckedText::Latin ? options.latinPath : options.frenchPath;
        report += ':' + std::to_string(f.line) + ": " + describe(f) + '\n';
    }
    if (check.agree()) {
        report += withFrench
            ? "Les deux textes concordent : " + plural(check.latinMarkers, "référence")
                + " dans chacun.\n"
            : "Le texte latin est en ordre : " + plural(check.latinMarkers, "référence") + ".\n";
    } else {
        report += plural(check.findings.size(), "constat") + " : "
            + (withFrench ? "les textes ne concordent pas.\n" : "le texte latin n'est pas en ordre.\n");
    }
    out << report;
    const int written = finishOutput(out, err);
    if (written != kExitOk)
        return written;
    return check.agree() ? kExitOk : kExitTextsDisagree;
}

} // namespace quorvex
