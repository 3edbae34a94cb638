#include "CorpusGenerator.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <vector>

namespace quorvex::bench {

namespace {

// A vocabulary of invented words built from syllables, drawn with Zipf weights.
class Vocabulary {
public:
    Vocabulary(const std::vector<std::string>& syllables, const std::vector<std::string>& endings,
               std::size_t size, std::mt19937_64& rng)
    {
        std::uniform_int_distribution<std::size_t> syl(0, syllables.size() - 1);
        std::uniform_int_distribution<std::size_t> end(0, endings.size() - 1);
        std::uniform_int_distribution<int> count(0, 3);
        m_words.reserve(size);
        for (std::size_t i = 0; i < size; ++i) {
            // Frequent words are short, as in real texts.
            const int n = i < 50 ? 0 : count(rng) + (i > 2000 ? 1 : 0);
            std::string w = syllables[syl(rng)];
            for (int k = 0; k < n; ++k)
                w += syllables[syl(rng)];
            if (i >= 50)
                w += endings[end(rng)];
            m_words.push_back(std::move(w));
        }
        double sum = 0;
        m_cumulative.reserve(size);
        for (std::size_t i = 0; i < size; ++i) {
            sum += 1.0 / static_cast<double>(i + 1);
            m_cumulative.push_back(sum);
        }
    }
    const std::string& draw(std::mt19937_64& rng) const
    {
        std::uniform_real_distribution<double> u(0, m_cumulative.back());
        const auto it = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), u(rng));
        return m_words[static_cast<std::size_t>(it - m_cumulative.begin())];
    }

private:
    std::vector<std::string> m_words;
    std::vector<double> m_cumulative;
};

void appendSentence(std::string& out, const Vocabulary& vocab, std::mt19937_64& rng,
                    std::size_t words, double etShare, const char* et)
{
    std::uniform_real_distribution<double> u(0, 1);
    for (std::size_t k = 0; k < words; ++k) {
        std::string w = u(rng) < etShare ? std::string(et) : vocab.draw(rng);
        if (k == 0)
            w[0] = static_cast<char>(w[0] >= 'a' && w[0] <= 'z' ? w[0] - 32 : w[0]);
        out += w;
        const double p = u(rng);
        out += k + 1 == words ? "." : (p < 0.08 ? ", " : (p < 0.1 ? " ; " : " "));
    }
}

} // namespace

CorpusPair generateCorpus(std::size_t latinBytes, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    const Vocabulary latin({"a", "am", "ta", "re", "bi", "tur", "qu", "ve", "ni", "us", "la", "cor",
                            "pa", "tri", "mo", "do", "se", "cun", "in", "fe", "lix", "ar", "ma",
                            "vir", "ca", "no", "ro", "mi", "li", "su", "per", "con"},
                           {"us", "um", "am", "is", "os", "ae", "ibus", "orum", "at", "ant",
                            "unt", "ere", "it", "em", "e", "o"},
                           20000, rng);
    const Vocabulary french({"la", "le", "mai", "son", "par", "t\xE9", "\xE9t\xE9", "rou", "che",
                             "min", "fr\xE8", "re", "m\xE8", "pon", "tai", "ne", "ci", "vi",
                             "ch\xE2", "teau", "fo", "r\xEA", "ar", "bre", "p\xE8", "gar",
                             "\xE7on", "cou", "ra", "ge", "di", "eu"},
                            {"s", "e", "es", "ent", "ait", "er", "\xE9", "\xE9s", "ons", "ez",
                             "", "x"},
                            20000, rng);
    CorpusPair pair;
    pair.latin.reserve(latinBytes + 512);
    pair.french.reserve(latinBytes + latinBytes / 4);
    std::uniform_int_distribution<std::size_t> sentenceWords(8, 30);
    std::size_t verse = 0;
    const std::size_t rareEvery = std::max<std::size_t>(latinBytes / 150 / 4, 1);
    while (pair.latin.size() < latinBytes) {
        ++verse;
        const std::string ref = "[" + std::to_string(verse) + "] ";
        pair.latin += ref;
        appendSentence(pair.latin, latin, rng, sentenceWords(rng), 0.074, "et");
        if (verse % rareEvery == 0 && verse / rareEvery <= 3)
            pair.latin += " Quorvexus.";
        pair.latin += "\r\n";
        pair.french += ref;
        appendSentence(pair.french, french, rng, sentenceWords(rng) + 2, 0.05, "et");
        pair.french += "\r\n";
    }
    return pair;
}

CorpusFiles::CorpusFiles(const std::string& folder, std::size_t latinBytes)
    : dir(std::filesystem::temp_directory_path() / folder),
      latinPath((dir / "latin.txt").string()),
      frenchPath((dir / "francais.txt").string()),
      pair(generateCorpus(latinBytes))
{
    std::filesystem::create_directories(dir);
    std::ofstream(latinPath, std::ios::binary) << pair.latin;
    std::ofstream(frenchPath, std::ios::binary) << pair.french;
}

CorpusFiles::~CorpusFiles()
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace quorvex::bench
