#include "translation/Stemmer.h"

#include "system/SideBySide.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#ifdef QUORVEX_WITH_HUNSPELL
#include <hunspell.h>
#endif

namespace quorvex {

std::vector<std::vector<std::string>> Stemmer::stemsOfEach(const std::vector<std::string>& utf8Words)
{
    std::vector<std::vector<std::string>> out;
    out.reserve(utf8Words.size());
    for (const std::string& word : utf8Words)
        out.push_back(stems(word));
    return out;
}

std::string affixPathOf(const std::string& dicPath)
{
    const std::string_view dic = ".dic";
    if (dicPath.size() >= dic.size() && dicPath.compare(dicPath.size() - dic.size(), dic.size(), dic) == 0)
        return dicPath.substr(0, dicPath.size() - dic.size()) + ".aff";
    return dicPath + ".aff";
}

namespace {

#ifdef QUORVEX_WITH_HUNSPELL
class HunspellStemmer : public Stemmer {
public:
    HunspellStemmer(const std::string& aff, const std::string& dic)
        : m_aff(aff), m_dic(dic), m_handle(Hunspell_create(aff.c_str(), dic.c_str()))
    {
        const char* encoding = m_handle ? Hunspell_get_dic_encoding(m_handle) : nullptr;
        m_utf8 = encoding && std::string_view(encoding) == "UTF-8";
    }
    ~HunspellStemmer() override
    {
        if (m_handle)
            Hunspell_destroy(m_handle);
    }
    HunspellStemmer(const HunspellStemmer&) = delete;
    HunspellStemmer& operator=(const HunspellStemmer&) = delete;

    bool usable() const { return m_handle != nullptr; }

    std::vector<std::string> stems(std::string_view utf8Word) override { return stemsWith(m_handle, utf8Word); }

    // A text's tens of thousands of distinct words cost a few microseconds each: a second
    // handle on the same files, opened on another thread, takes its share of them, word blocks
    // handed out as each thread is ready (the opening costs that thread some 30 ms).
    std::vector<std::vector<std::string>> stemsOfEach(const std::vector<std::string>& utf8Words) override
    {
        std::vector<std::vector<std::string>> out(utf8Words.size());
        constexpr std::size_t kBlock = 256;
        const bool share = utf8Words.size() >= 16 * kBlock && std::thread::hardware_concurrency() > 1;
        std::atomic<std::size_t> next{0};
        const auto work = [&](Hunhandle* handle) {
            for (std::size_t first; (first = next.fetch_add(kBlock)) < utf8Words.size();)
                for (std::size_t i = first, end = std::min(first + kBlock, utf8Words.size()); i < end; ++i)
                    out[i] = stemsWith(handle, utf8Words[i]);
        };
        if (!share) {
            work(m_handle);
            return out;
        }
        runSideBySide([&] { work(m_handle); },
                      [&] {
                          if (next.load() >= utf8Words.size())
                              return;  // all done already
                          const std::unique_ptr<Hunhandle, void (*)(Hunhandle*)> second(
                              Hunspell_create(m_aff.c_str(), m_dic.c_str()), Hunspell_destroy);
                          if (second)
                              work(second.get());
                      },
                      [&] { next.store(utf8Words.size()); });
        return out;
    }

private:
    std::vector<std::string> stemsWith(Hunhandle* handle, std::string_view utf8Word) const
    {
        // An 8-bit dictionary is taken as Latin-1 written the Windows way, like the texts.
        std::string word;
        if (m_utf8) {
            word.assign(utf8Word);
        } else {
            Utf8Conversion c = utf8ToCp1252(utf8Word);
            if (!c.ok)
                return {};
            word = std::move(c.bytes);
        }
        char** list = nullptr;
        const int n = Hunspell_stem(handle, &list, word.c_str());
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            std::string stem = m_utf8 ? std::string(list[i]) : cp1252ToUtf8(list[i]);
            if (!stem.empty())
                out.push_back(std::move(stem));
        }
        if (list)
            Hunspell_free_list(handle, &list, n);
        return out;
    }

    std::string m_aff, m_dic;
    Hunhandle* m_handle;
    bool m_utf8 = true;
};
#endif

} // namespace

bool hunspellBuiltIn() noexcept
{
#ifdef QUORVEX_WITH_HUNSPELL
    return true;
#else
    return false;
#endif
}

OpenedStemmer openHunspellStemmer(const std::string& dicPath)
{
    OpenedStemmer opened;
    opened.affixPath = affixPathOf(dicPath);
#ifdef QUORVEX_WITH_HUNSPELL
    // Hunspell opens a missing file as an empty dictionary without a word: check first.
    // A FIFO or a device is refused there too, never opened.
    opened.error = checkReadable(dicPath);
    if (!opened.error)
        opened.error = checkReadable(opened.affixPath);
    if (opened.error)
        return opened;
    auto stemmer = std::make_unique<HunspellStemmer>(opened.affixPath, dicPath);
    if (!stemmer->usable())
        return opened;
    opened.stemmer = std::move(stemmer);
    opened.status = DictionaryStatus::Opened;
#else
    opened.status = DictionaryStatus::NotBuiltIn;
#endif
    return opened;
}

} // namespace quorvex
