#include "translation/FunctionWords.h"

#include "concordance/SpellingFold.h"
#include "lexicon/Lexicon.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace quorvex {

namespace {

// The auxiliaries are listed by lemma and by their forms: "est" or "a" are also a noun or a
// preposition to the dictionary, and would come back through that door.
const char* const kFrench[] = {
    // articles
    "le", "la", "les", "l", "un", "une", "des", "du", "au", "aux",
    // prepositions
    "à", "de", "d", "en", "dans", "par", "pour", "sur", "sous", "avec", "sans", "vers", "chez",
    "entre", "contre", "devant", "derrière", "après", "avant", "depuis", "pendant", "selon",
    "parmi", "jusque", "jusqu", "hors", "envers", "outre", "malgré", "durant", "dès", "auprès",
    // pronouns and determiners
    "je", "j", "me", "m", "moi", "tu", "te", "t", "toi", "il", "elle", "on", "se", "s", "soi",
    "lui", "nous", "vous", "ils", "elles", "leur", "leurs", "eux", "y", "ce", "c", "ceci",
    "cela", "ça", "celui", "celle", "ceux", "celles", "qui", "que", "qu", "quoi", "dont", "où",
    "lequel", "laquelle", "lesquels", "lesquelles", "auquel", "auxquels", "auxquelles",
    "duquel", "desquels", "desquelles", "mon", "ma", "mes", "ton", "ta", "tes", "son", "sa",
    "ses", "notre", "nos", "votre", "vos", "cet", "cette", "ces", "quel", "quelle", "quels",
    "quelles",
    // auxiliaries
    "être", "suis", "es", "est", "sommes", "êtes", "sont", "étais", "était", "étions", "étiez",
    "étaient", "fus", "fut", "fûmes", "fûtes", "furent", "serai", "seras", "sera", "serons",
    "serez", "seront", "serais", "serait", "serions", "seriez", "seraient", "sois", "soit",
    "soyons", "soyez", "soient", "fusse", "fût", "fussent", "été", "étant",
    "avoir", "ai", "as", "a", "avons", "avez", "ont", "avais", "avait", "avions", "aviez",
    "avaient", "eus", "eut", "eûmes", "eûtes", "eurent", "aurai", "auras", "aura", "aurons",
    "aurez", "auront", "aurais", "aurait", "aurions", "auriez", "auraient", "aie", "aies", "ait",
    "ayons", "ayez", "aient", "eusse", "eût", "eussent", "eu", "ayant",
    // conjunctions and the negation
    "et", "ou", "ni", "mais", "or", "donc", "car", "quand", "comme", "si", "lorsque", "lorsqu",
    "puisque", "puisqu", "quoique", "parce", "afin", "tandis", "ne", "n", "pas",
};

// Lemmata whose usual renderings are on the French list; folded (j = i, v = u).
const char* const kLatin[] = {
    "sum", "habeo", "et", "autem", "non", "ne", "nec", "neque", "in", "ad", "cum", "de", "ex",
    "e", "a", "ab", "abs", "per", "pro", "sub", "super", "enim", "sed", "uero", "quia", "quod",
    "qui", "quis", "ut", "si", "nisi", "ergo", "igitur", "tamen", "etiam", "atque", "ac", "ego",
    "tu", "nos", "uos", "is", "ille", "hic", "ipse", "iste", "suus", "meus", "tuus", "noster",
    "uester", "possum", "fio",
};

const std::unordered_set<std::string_view>& frenchSet()
{
    static const std::unordered_set<std::string_view> set(std::begin(kFrench), std::end(kFrench));
    return set;
}

const std::unordered_set<std::string_view>& latinSet()
{
    static const std::unordered_set<std::string_view> set(std::begin(kLatin), std::end(kLatin));
    return set;
}

} // namespace

bool isFrenchFunctionWord(std::string_view utf8Folded)
{
    return frenchSet().count(utf8Folded) > 0;
}

bool isLatinFunctionLemma(std::string_view cp1252, const lexicon::Lexicon* lexicon)
{
    std::string f = folded(cp1252, Folding::Spelling);
    while (!f.empty() && f.back() >= '0' && f.back() <= '9')
        f.pop_back();
    if (latinSet().count(f) > 0)
        return true;
    if (lexicon)
        for (const lexicon::LemmaId id : lexicon->lemmataNamed(cp1252ToUtf8(cp1252)))
            if (lexicon->lemma(id).closedClass)
                return true;
    return false;
}

} // namespace quorvex
