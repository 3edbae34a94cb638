#include "translation/CachingStemmer.h"

#include "system/SystemFiles.h"

#include <cstdint>
#include <filesystem>

namespace quorvex {

namespace {

constexpr std::string_view kKind = "french-stems";

// Payload: per word, the word, then its stems, each ended by a NUL; a word's list ends with
// an empty stem. Words and stems are UTF-8 and never hold a NUL.
void appendEntry(std::string& out, const std::string& word, const std::vector<std::string>& stems)
{
    out += word;
    out += '\0';
    for (const std::string& stem : stems) {
        out += stem;
        out += '\0';
    }
    out += '\0';
}

bool parse(std::string_view payload, std::unordered_map<std::string, std::vector<std::string>>& into)
{
    std::size_t at = 0;
    auto next = [&](std::string_view& piece) {
        const std::size_t end = payload.find('\0', at);
        if (end == std::string_view::npos)
            return false;
        piece = payload.substr(at, end - at);
        at = end + 1;
        return true;
    };
    while (at < payload.size()) {
        std::string_view word, stem;
        if (!next(word) || word.empty())
            return false;
        std::vector<std::string> stems;
        while (true) {
            if (!next(stem))
                return false;
            if (stem.empty())
                break;
            stems.emplace_back(stem);
        }
        into.emplace(std::string(word), std::move(stems));
    }
    return true;
}

} // namespace

CachingStemmer::CachingStemmer(CacheFolder cache, std::string key, Opener open)
    : m_cache(std::move(cache)), m_key(std::move(key)), m_open(std::move(open))
{
    if (m_key.empty())
        m_cache = CacheFolder();
}

void CachingStemmer::load()
{
    // Read at the first word: a run that finds its French lemmas elsewhere (an alignment's
    // image) never reads the stems.
    if (m_loaded)
        return;
    m_loaded = true;
    if (const auto payload = m_cache.read(kKind, m_key)) {
        if (!parse(*payload, m_stems))
            m_stems.clear();  // a damaged entry is computed again, not half used
    }
}

bool CachingStemmer::hasEntry() const
{
    std::error_code ec;
    return m_cache.enabled() && std::filesystem::is_regular_file(m_cache.entryPath(kKind, m_key), ec);
}

CachingStemmer::~CachingStemmer()
{
    save();
}

void CachingStemmer::openInner()
{
    if (!m_opened) {
        m_opened = true;
        if (m_open)
            m_inner = m_open();
    }
}

void CachingStemmer::remember(const std::string& word, const std::vector<std::string>& stems)
{
    // A stem with a NUL could not be stored: such a word is stemmed again next time.
    // Nor is a word kept when the dictionary could not be opened after all.
    bool storable = m_inner && !word.empty() && word.find('\0') == std::string::npos;
    for (const std::string& stem : stems)
        storable = storable && !stem.empty() && stem.find('\0') == std::string::npos;
    if (storable) {
        m_stems.emplace(word, stems);
        m_changed = true;
    }
}

std::vector<std::string> CachingStemmer::stems(std::string_view utf8Word)
{
    load();
    const std::string word(utf8Word);
    if (const auto found = m_stems.find(word); found != m_stems.end())
        return found->second;
    openInner();
    std::vector<std::string> result = m_inner ? m_inner->stems(utf8Word) : std::vector<std::string>();
    remember(word, result);
    return result;
}

std::vector<std::vector<std::string>> CachingStemmer::stemsOfEach(const std::vector<std::string>& utf8Words)
{
    load();
    std::vector<std::vector<std::string>> out(utf8Words.size());
    // The words the cache lacks go to the dictionary together.
    std::vector<std::string> missing;
    std::vector<std::size_t> missingAt;
    for (std::size_t i = 0; i < utf8Words.size(); ++i) {
        if (const auto found = m_stems.find(utf8Words[i]); found != m_stems.end()) {
            out[i] = found->second;
        } else {
            missing.push_back(utf8Words[i]);
            missingAt.push_back(i);
        }
    }
    if (missing.empty())
        return out;
    openInner();
    if (!m_inner)
        return out;
    std::vector<std::vector<std::string>> found = m_inner->stemsOfEach(missing);
    for (std::size_t k = 0; k < missing.size(); ++k) {
        remember(missing[k], found[k]);
        out[missingAt[k]] = std::move(found[k]);
    }
    return out;
}

bool CachingStemmer::save()
{
    if (!m_changed || !m_cache.enabled())
        return false;
    std::string payload;
    for (const auto& [word, stems] : m_stems)
        appendEntry(payload, word, stems);
    const bool written = m_cache.write(kKind, m_key, payload);
    m_changed = !written;
    return written;
}

OpenedStemmer openFrenchStemmer(const std::string& dicPath, const std::string& textPath,
                                std::string_view textBytes, const CacheFolder& cache,
                                std::optional<std::uint64_t> textHash)
{
    if (!cache.enabled() || !hunspellBuiltIn())
        return openHunspellStemmer(dicPath);
    std::string key = frenchStemsKey(textPath, textBytes, dicPath, affixPathOf(dicPath), textHash);
    if (key.empty())
        return openHunspellStemmer(dicPath);  // says why a file cannot be read
    auto cached = std::make_unique<CachingStemmer>(cache, std::move(key), [dicPath]() {
        return openHunspellStemmer(dicPath).stemmer;
    });
    OpenedStemmer opened;
    opened.affixPath = affixPathOf(dicPath);
    if (!cached->hasEntry()) {
        // Nothing kept yet: the dictionary is opened now, so that a failure is said at once.
        OpenedStemmer real = openHunspellStemmer(dicPath);
        if (real.status != DictionaryStatus::Opened)
            return real;
        auto inner = std::make_shared<std::unique_ptr<Stemmer>>(std::move(real.stemmer));
        cached = std::make_unique<CachingStemmer>(cache, cached->key(), [inner]() { return std::move(*inner); });
    }
    opened.stemmer = std::move(cached);
    opened.status = DictionaryStatus::Opened;
    return opened;
}

std::string frenchStemsKey(const std::string& textPath, std::string_view textBytes,
                           const std::string& dicPath, const std::string& affPath,
                           std::optional<std::uint64_t> textHash)
{
    // A hash known already is not computed again over a text of tens of megabytes.
    auto text = identifyFile(sys::pathFromUtf8(textPath), textHash ? std::string_view() : textBytes);
    if (text && textHash)
        text->contentHash = *textHash;
    const auto dic = identifyFile(sys::pathFromUtf8(dicPath));
    const auto aff = identifyFile(sys::pathFromUtf8(affPath));
    if (!text || !dic || !aff)
        return {};
    return identityKey({*text, *dic, *aff});
}

} // namespace quorvex
