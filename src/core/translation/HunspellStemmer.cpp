#include "translation/Stemmer.h"

#include "text/Cp1252.h"
#include "text/TextFile.h"

#ifdef QUORVEX_WITH_HUNSPELL
#include <hunspell.h>
#endif

namespace quorvex {

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
        : m_handle(Hunspell_create(aff.c_str(), dic.c_str()))
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

    std::vector<std::string> stems(std::string_view utf8Word) override
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
        const int n = Hunspell_stem(m_handle, &list, word.c_str());
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) {
            std::string stem = m_utf8 ? std::string(list[i]) : cp1252ToUtf8(list[i]);
            if (!stem.empty())
                out.push_back(std::move(stem));
        }
        if (list)
            Hunspell_free_list(m_handle, &list, n);
        return out;
    }

private:
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
