#include "lexicon/LexiconFolder.h"

#include "system/SystemFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorvex::lexicon {

namespace {

// share/quorvex/lexicon beside the bin/ folder of the running program.
std::optional<std::filesystem::path> ownDataFolder()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty())
        return std::nullopt;
    return self.parent_path().parent_path() / "share" / "quorvex" / "lexicon";
}

} // namespace

bool holdsLexicon(const std::string& folder)
{
    const std::filesystem::path path = sys::pathFromUtf8(folder);
    return sys::fileKind(path / "lemmes.la") == sys::FileKind::Regular
        && sys::fileKind(path / "modeles.la") == sys::FileKind::Regular;
}

std::optional<std::string> findLexiconFolder(const std::optional<std::string>& named)
{
    if (named)
        return *named;
    if (const char* env = std::getenv("QUORVEX_LEXICON"); env != nullptr && *env != '\0')
        return std::string(env);
    if (const auto own = ownDataFolder(); own && holdsLexicon(own->string()))
        return own->string();
    if (holdsLexicon("/usr/share/collatinus/data"))
        return std::string("/usr/share/collatinus/data");
    return std::nullopt;
}

} // namespace quorvex::lexicon
