// quorvex-genbible LEXICON_DIR CORPUS_DIR OUT_DIR [COPIES] [LATIN_FORMS]
//
// A parallel pair the size of a whole Bible with a whole Bible's vocabulary, made from the New
// Testament: COPIES copies (48 by default: about 44 MB and 6 M Latin words) with their markers
// renumbered [k.B.C.V], as bench/scale-corpus.sh does, in which words are replaced by other
// real forms. The New Testament has about a third of a Bible's distinct forms, and word
// searches (lemma, folded spelling, collocates, French lemmas) cost more per distinct form, so
// the copies alone flatter them.
//
// Latin: an ending of a word is swapped for another ending, and the new form is kept only when
// the lexicon knows it (so every new form is a real form of some lemma, most often of the
// word's own lemma: genuit -> genuerunt, genitus). French: a word is replaced by a word of
// Hunspell's French dictionary with the same first letters. A replaced word keeps the
// capital of the word it replaces. Replacements are drawn with a fixed hash of the copy and
// the position, so a variant's frequency follows its source word's (Zipf-like, as the text
// is) and the output is the same at every run. The number of variants grows until the Latin
// text holds about LATIN_FORMS (46,000 by default) distinct forms once lowered; the French
// one gets as many more distinct forms, in proportion, as the Latin.

#include "lexicon/LatinSpelling.h"
#include "lexicon/Lexicon.h"
#include "text/Cp1252.h"
#include "text/Letters.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using namespace quorvex;

namespace {

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "quorvex-genbible : lecture impossible de " << path << '\n';
        std::exit(1);
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::uint64_t mix(std::uint64_t x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb33fe1a85ec3ULL;
    x ^= x >> 33;
    return x;
}

// Words of the text: maximal runs of the letters of the Latin letter set (æ and œ inside
// words would only be copied, never replaced, so the window's narrower set is not needed here).
bool isWordByte(unsigned char c) { return isLetter(c); }

bool plainLower(const std::string& word)
{
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Counts of the lowered words of a text, and their first appearance order.
std::unordered_map<std::string, std::size_t> vocabulary(const std::string& text)
{
    std::unordered_map<std::string, std::size_t> counts;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '[') {
            const auto close = text.find(']', i);
            i = close == std::string::npos ? text.size() : close + 1;
            continue;
        }
        if (!isWordByte(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && isWordByte(static_cast<unsigned char>(text[j])))
            ++j;
        ++counts[lowered(std::string_view(text).substr(i, j - i))];
        i = j;
    }
    return counts;
}

// Types by descending frequency, then alphabetically: the order variants are handed out in.
std::vector<std::string> byFrequency(const std::unordered_map<std::string, std::size_t>& counts)
{
    std::vector<std::string> types;
    for (const auto& [form, n] : counts)
        types.push_back(form);
    std::sort(types.begin(), types.end(), [&](const std::string& a, const std::string& b) {
        const auto na = counts.at(a), nb = counts.at(b);
        return na != nb ? na > nb : a < b;
    });
    return types;
}

const std::vector<std::string>& latinEndings()
{
    static const std::vector<std::string> endings = {
        // nouns and adjectives
        "us", "i", "o", "um", "e", "orum", "is", "os", "a", "ae", "am", "arum", "as", "es", "em",
        "ibus", "ium", "ia", "ui", "u", "uum", "ebus", "ei", "erum", "ior", "ius", "iorem", "issimus",
        "issima", "issimum", "ter",
        // verbs
        "at", "amus", "atis", "ant", "abam", "abat", "abant", "abo", "abit", "abunt", "avi", "avit",
        "averunt", "avisset", "are", "aret", "arent", "atur", "antur", "abatur", "etur", "entur",
        "et", "emus", "etis", "ent", "ebam", "ebat", "ebant", "ebo", "ebit", "ebunt", "ere", "eret",
        "erent", "eri", "itur", "untur", "ebatur", "it", "imus", "itis", "unt", "iunt", "iebat",
        "iebant", "ient", "ire", "iret", "irent", "ivit", "iverunt", "isset", "issent", "erunt",
        "erat", "erant", "erit", "ens", "entis", "enti", "entem", "entes", "entium", "entibus", "ans",
        "antis", "anti", "antem", "antes", "atus", "ata", "atum", "ati", "atos", "urus", "ura",
        "urum", "ndus", "nda", "ndum", "ndi", "ndo", "ndam", "isti", "istis", "sit", "xit", "xerunt",
        "ctus", "cta", "ctum", "sus", "sa", "sum", "tus", "ta", "tum"};
    return endings;
}

// Real Latin forms made from each type by swapping its ending, that the text does not hold.
std::map<std::string, std::vector<std::string>> latinVariants(
    const std::vector<std::string>& types, const std::unordered_map<std::string, std::size_t>& vocab,
    const lexicon::Lexicon& lexicon)
{
    std::map<std::string, std::vector<std::string>> variants;
    std::unordered_set<std::string> taken;
    for (const auto& type : types) {
        if (type.size() < 4 || !plainLower(type))
            continue;
        auto& list = variants[type];
        for (const auto& ending : latinEndings()) {
            if (type.size() < ending.size() + 2 || type.compare(type.size() - ending.size(), ending.size(), ending) != 0)
                continue;
            const std::string stem = type.substr(0, type.size() - ending.size());
            for (const auto& other : latinEndings()) {
                if (other == ending)
                    continue;
                std::string candidate = stem + other;
                if (vocab.count(candidate) || taken.count(candidate))
                    continue;
                const auto folded = lexicon::foldSpelling(candidate);
                if (!folded.ok || !lexicon.knowsForm(folded.letters))
                    continue;
                taken.insert(candidate);
                list.push_back(std::move(candidate));
            }
        }
    }
    return variants;
}

// The words of Hunspell's French dictionary, Windows-1252, lower case, letters only, grouped
// by their first three letters.
std::unordered_map<std::string, std::vector<std::string>> frenchWords(const std::string& dicPath)
{
    std::unordered_map<std::string, std::vector<std::string>> byPrefix;
    std::ifstream in(dicPath, std::ios::binary);
    std::string line;
    std::getline(in, line);  // the count
    while (std::getline(in, line)) {
        const auto end = line.find_first_of("/ \t\r");
        const auto converted = utf8ToCp1252(line.substr(0, end));
        if (!converted.ok)
            continue;
        const std::string& word = converted.bytes;
        if (word.size() < 4 || !std::all_of(word.begin(), word.end(), [](char c) {
                const auto u = static_cast<unsigned char>(c);
                return isLetter(u) && lowerByte(u) == u;
            }))
            continue;
        byPrefix[word.substr(0, 3)].push_back(word);
    }
    return byPrefix;
}

std::map<std::string, std::vector<std::string>> frenchVariants(
    const std::vector<std::string>& types, const std::unordered_map<std::string, std::size_t>& vocab,
    const std::unordered_map<std::string, std::vector<std::string>>& dictionary)
{
    std::map<std::string, std::vector<std::string>> variants;
    std::unordered_set<std::string> taken;
    for (const auto& type : types) {
        if (type.size() < 4)
            continue;
        const auto found = dictionary.find(type.substr(0, 3));
        if (found == dictionary.end())
            continue;
        auto& list = variants[type];
        // Start at a place fixed by the word, so that words of one prefix get different ones.
        const auto& words = found->second;
        const std::size_t start = mix(std::hash<std::string>{}(type)) % words.size();
        for (std::size_t k = 0; k < words.size() && list.size() < 40; ++k) {
            const auto& word = words[(start + k) % words.size()];
            // Lengths kept close, so that the French text keeps its size.
            if (word.size() + 2 < type.size() || word.size() > type.size() + 2 || vocab.count(word) || taken.count(word))
                continue;
            taken.insert(word);
            list.push_back(word);
        }
    }
    return variants;
}

using Variants = std::map<std::string, std::vector<std::string>>;

std::string capitalised(const std::string& word, const std::string& model)
{
    std::string out = word;
    const auto first = static_cast<unsigned char>(model[0]);
    if (lowerByte(first) != first && !out.empty()) {
        const auto c = static_cast<unsigned char>(out[0]);
        if (c >= 'a' && c <= 'z')
            out[0] = static_cast<char>(c - 'a' + 'A');
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            out[0] = static_cast<char>(c - 0x20);
    }
    return out;
}

// How many variants of each type a budget of `budget` variants allows: handed out one a type
// at a time, the most frequent types first, so that a budget gives a fine-grained vocabulary.
std::map<std::string, std::size_t> allowance(const Variants& variants, const std::vector<std::string>& order,
                                             std::size_t budget)
{
    std::map<std::string, std::size_t> allowed;
    for (std::size_t round = 0; budget > 0; ++round) {
        bool any = false;
        for (const auto& type : order) {
            const auto found = variants.find(type);
            if (found == variants.end() || found->second.size() <= round)
                continue;
            any = true;
            ++allowed[type];
            if (--budget == 0)
                break;
        }
        if (!any)
            break;
    }
    return allowed;
}

// COPIES copies with renumbered markers, each word of a type with variants replaced, two
// times in three, by one of the variants its allowance lets it use.
std::string generate(const std::string& text, int copies, const Variants& variants,
                     const std::map<std::string, std::size_t>& allowed)
{
    std::string out;
    out.reserve(text.size() * static_cast<std::size_t>(copies) + text.size());
    std::uint64_t position = 0;
    for (int k = 1; k <= copies; ++k) {
        std::size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '[') {
                out += '[';
                out += std::to_string(k);
                out += '.';
                ++i;
                continue;
            }
            if (!isWordByte(static_cast<unsigned char>(c))) {
                out += c;
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < text.size() && isWordByte(static_cast<unsigned char>(text[j])))
                ++j;
            const std::string word = text.substr(i, j - i);
            ++position;
            const auto found = allowed.find(lowered(word));
            const std::uint64_t h = mix(position * 0x9e3779b97f4a7c15ULL + static_cast<std::uint64_t>(k));
            if (found != allowed.end() && (h >> 40) % 3 != 0) {
                out += capitalised(variants.at(found->first)[h % found->second], word);
            } else {
                out += word;
            }
            i = j;
        }
    }
    return out;
}

// Generates with a larger budget of variants until the text holds `target` distinct forms.
std::string generateWithVocabulary(const std::string& text, int copies, const Variants& variants,
                                   const std::vector<std::string>& order, std::size_t target,
                                   std::size_t& distinct)
{
    std::size_t low = 0, high = 0;
    for (const auto& [type, list] : variants)
        high += list.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (vocabulary(generate(text, copies, variants, allowance(variants, order, mid))).size() < target)
            low = mid + 1;
        else
            high = mid;
    }
    std::string out = generate(text, copies, variants, allowance(variants, order, low));
    distinct = vocabulary(out).size();
    return out;
}

void writeWhole(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "quorvex-genbible : écriture impossible de " << path << '\n';
        std::exit(1);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4 || argc > 6) {
        std::cerr << "Usage : quorvex-genbible LEXIQUE CORPUS SORTIE [COPIES] [FORMES_LATINES]\n";
        return 2;
    }
    const std::string lexiconDir = argv[1], corpus = argv[2], outDir = argv[3];
    const int copies = argc > 4 ? std::atoi(argv[4]) : 48;
    const std::size_t target = argc > 5 ? static_cast<std::size_t>(std::atol(argv[5])) : 46000;
    if (copies < 1 || target < 1) {
        std::cerr << "quorvex-genbible : nombre invalide\n";
        return 2;
    }

    lexicon::LexiconProblem failure;
    std::vector<lexicon::LexiconProblem> malformed;
    const auto lexicon = lexicon::Lexicon::load(lexiconDir, false, failure, malformed);
    if (failure) {
        std::cerr << lexicon::describeProblem(failure) << '\n';
        return 1;
    }
    const std::string latin = readWhole(corpus + "/latin-nt.txt");
    const std::string french = readWhole(corpus + "/francais-nt.txt");

    const auto latinVocab = vocabulary(latin);
    const auto latinOrder = byFrequency(latinVocab);
    const auto latinVariantsByType = latinVariants(latinOrder, latinVocab, lexicon);
    std::size_t latinDistinct = 0;
    const std::string latinOut =
        generateWithVocabulary(latin, copies, latinVariantsByType, latinOrder, target, latinDistinct);

    const auto frenchVocab = vocabulary(french);
    const auto frenchTarget = frenchVocab.size() * latinDistinct / latinVocab.size();
    const auto frenchOrder = byFrequency(frenchVocab);
    const auto frenchVariantsByType =
        frenchVariants(frenchOrder, frenchVocab, frenchWords("/usr/share/hunspell/fr.dic"));
    std::size_t frenchDistinct = 0;
    const std::string frenchOut =
        generateWithVocabulary(french, copies, frenchVariantsByType, frenchOrder, frenchTarget, frenchDistinct);

    writeWhole(outDir + "/latin.txt", latinOut);
    writeWhole(outDir + "/francais.txt", frenchOut);
    std::cout << "latin.txt : " << latinOut.size() << " octets, " << latinDistinct << " formes distinctes (Nouveau Testament : "
              << latinVocab.size() << ")\nfrancais.txt : " << frenchOut.size() << " octets, " << frenchDistinct
              << " formes distinctes (Nouveau Testament : " << frenchVocab.size() << ")\n";
    return 0;
}
