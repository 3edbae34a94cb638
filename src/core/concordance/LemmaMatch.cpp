#include "concordance/LemmaMatch.h"

#include "concordance/SpellingFold.h"
#include "lexicon/LatinSpelling.h"
#include "text/Cp1252.h"

#include <optional>
#include <unordered_map>

namespace quorvex {

namespace {

// Bytes that are not UTF-8 are taken as Windows-1252, as the texts are.
std::string asUtf8(const std::string& typed) { return isValidUtf8(typed) ? typed : cp1252ToUtf8(typed); }

// Folded letters of what the user typed, its homograph digit left out.
std::optional<std::string> foldedTyped(const std::string& typed)
{
    std::size_t end = typed.size();
    while (end > 0 && typed[end - 1] >= '0' && typed[end - 1] <= '9')
        --end;
    lexicon::FoldedSpelling f = lexicon::foldSpelling(std::string_view(typed).substr(0, end));
    if (!f.ok || f.letters.empty())
        return std::nullopt;
    return std::move(f.letters);
}

} // namespace

LemmaMatchResult matchLemmaTypes(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                                 const std::string& typedArgument, bool strict)
{
    LemmaMatchResult into;
    const std::string typed = asUtf8(typedArgument);
    into.lemmata = lexicon.lemmataNamed(typed);
    if (!into.lemmata.empty()) {
        into.kind = LemmaMatchKind::Lemma;
        into.types = lemmata.typesOf(into.lemmata, strict);
        return into;
    }
    const std::optional<std::string> folded = foldedTyped(typed);
    // A name with a homograph digit is no form of the text.
    const bool numbered = !typed.empty() && typed.back() >= '0' && typed.back() <= '9';
    const TextLemmata::TypeId type = folded && !numbered ? lemmata.findType(*folded) : TextLemmata::npos;
    if (folded && type != TextLemmata::npos) {
        into.kind = LemmaMatchKind::Form;
        into.lines = "« " + typed + " » n'est pas dans le lexique : recherche de la forme.\n";
        into.types = {type};
        return into;
    }
    into.kind = LemmaMatchKind::Unknown;
    into.lines = "Lemme inconnu : « " + typed + " ».\n";
    if (!folded)
        return into;
    std::vector<lexicon::LemmaId> forms;
    lexicon.analyse(*folded, forms);
    if (!forms.empty())
        into.lines += "« " + typed + " » est une forme de : " + lexicon.spellings(forms) + ".\n";
    else
        into.lines += "Lemmes voisins : " + lexicon.spellings(lexicon.neighbours(*folded, 5)) + ".\n";
    return into;
}

LemmaMatchResult matchLemma(const lexicon::Lexicon& lexicon, const TextLemmata& lemmata,
                            const std::string& typed, bool strict)
{
    LemmaMatchResult into = matchLemmaTypes(lexicon, lemmata, typed, strict);
    into.words = lemmata.wordsOf(into.types);
    return into;
}

std::optional<std::size_t> countLemmaWords(const lexicon::Lexicon& lexicon, const FormTally& forms,
                                           const std::string& typedArgument, bool strict)
{
    const std::vector<lexicon::LemmaId> lemmata = lexicon.lemmataNamed(asUtf8(typedArgument));
    if (lemmata.empty())
        return std::nullopt;
    const lexicon::Lexicon::FormFilter filter = lexicon.formFilter(lemmata);
    // Written forms that fold alike share one analysis.
    std::unordered_map<std::string, bool> decided;
    std::string folded;
    std::vector<lexicon::LemmaId> candidates;
    std::size_t total = 0;
    for (FormTally::TypeId t = 0; t < forms.typeCount(); ++t) {
        folded.clear();
        appendFolded(folded, forms.typeText(t), Folding::Spelling);
        if (!filter.mayGive(folded))
            continue;
        auto it = decided.find(folded);
        if (it == decided.end()) {
            candidates.clear();
            lexicon.analyse(folded, candidates);
            const bool gives = TextLemmata::candidatesGive(
                lexicon, {candidates.data(), candidates.size()}, lemmata, strict);
            it = decided.emplace(folded, gives).first;
        }
        if (it->second)
            total += forms.typeFrequency(t);
    }
    return total;
}

std::size_t countLemmaWords(const lexicon::Lexicon& lexicon, const FoldedFormTally& forms,
                            const std::vector<lexicon::LemmaId>& lemmata, bool strict)
{
    std::vector<lexicon::LemmaId> candidates;
    std::size_t total = 0;
    for (std::size_t i = 0; i < forms.formCount(); ++i) {
        if (forms.frequency(i) == 0)
            continue;
        candidates.clear();
        lexicon.analyse(forms.form(i), candidates);
        if (TextLemmata::candidatesGive(lexicon, {candidates.data(), candidates.size()}, lemmata, strict))
            total += forms.frequency(i);
    }
    return total;
}

std::string lemmaHeading(const std::string& typed)
{
    if (!isValidUtf8(typed))
        return typed;
    if (Utf8Conversion asTyped = utf8ToCp1252(typed); asTyped.ok)
        return std::move(asTyped.bytes);
    if (Utf8Conversion plain = utf8ToCp1252(lexicon::withoutQuantities(typed)); plain.ok)
        return std::move(plain.bytes);
    return foldedTyped(typed).value_or(std::string());
}

} // namespace quorvex
