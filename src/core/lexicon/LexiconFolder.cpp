#include "lexicon/LexiconFolder.h"

#include "system/ProgramFile.h"
#include "system/SystemFiles.h"

#include <cstdlib>
#include <filesystem>

namespace quorvex::lexicon {

namespace {

namespace fs = std::filesystem;

fs::path dataFolderUnder(const fs::path& prefix)
{
    return prefix / "share" / "quorvex" / "lexicon";
}

// The nearest folder above the program's that CMake configured, if any.
std::optional<fs::path> buildTreeOf(const fs::path& program)
{
    for (fs::path folder = program.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (sys::fileKind(folder / "CMakeCache.txt") == sys::FileKind::Regular)
            return folder;
        if (folder == folder.parent_path())
            break;
    }
    return std::nullopt;
}

} // namespace

bool holdsLexicon(const std::string& folder)
{
    const fs::path path = sys::pathFromUtf8(folder);
    return sys::fileKind(path / "lemmes.la") == sys::FileKind::Regular
        && sys::fileKind(path / "modeles.la") == sys::FileKind::Regular;
}

LexiconPlaces lexiconPlacesOfThisProgram(const std::optional<std::string>& named)
{
    LexiconPlaces places;
    places.named = named;
    if (const char* env = std::getenv("QUORVEX_LEXICON"); env != nullptr && *env != '\0')
        places.environment = std::string(env);
    places.program = sys::utf8FromPath(sys::runningProgram());
#ifndef _WIN32
    places.system = "/usr/share/collatinus/data";
#endif
    return places;
}

LexiconLookup lookUpLexicon(const LexiconPlaces& places)
{
    LexiconLookup lookup;
    for (const std::optional<std::string>& given : {places.named, places.environment}) {
        if (given) {
            lookup.tried.push_back(*given);
            lookup.folder = *given;
            return lookup;
        }
    }
    std::vector<std::string> candidates;
    if (!places.program.empty()) {
        // A path given with both separators on Windows still names one folder each way.
        const fs::path program = sys::pathFromUtf8(places.program).make_preferred();
        candidates.push_back(sys::utf8FromPath(dataFolderUnder(program.parent_path().parent_path())));
        if (const std::optional<fs::path> tree = buildTreeOf(program))
            candidates.push_back(sys::utf8FromPath(dataFolderUnder(*tree)));
    }
    if (!places.system.empty())
        candidates.push_back(places.system);
    for (const std::string& candidate : candidates) {
        lookup.tried.push_back(candidate);
        if (holdsLexicon(candidate)) {
            lookup.folder = candidate;
            break;
        }
    }
    return lookup;
}

std::optional<std::string> findLexiconFolder(const std::optional<std::string>& named)
{
    return lookUpLexicon(lexiconPlacesOfThisProgram(named)).folder;
}

std::string describeMissingLexicon(const std::vector<std::string>& tried)
{
    std::string text = "Le lexique latin est introuvable";
    if (!tried.empty()) {
        text += " ; dossiers essayés :";
        for (std::size_t i = 0; i < tried.size(); ++i)
            text += (i == 0 ? " « " : ", « ") + sys::escapeInvalidUtf8(tried[i]) + " »";
    }
    text += ". Pour l'obtenir : installez le paquet quorvex-lexicon, ou lancez tools/fetch-lexicon.sh "
            "depuis les sources du programme, ou nommez son dossier (--lexicon DOSSIER, "
            "variable QUORVEX_LEXICON).";
    return text;
}

std::string describeLexiconInUse(const LexiconLookup& lookup)
{
    if (lookup.folder)
        return "Lexique latin : " + sys::escapeInvalidUtf8(*lookup.folder);
    return "Lexique latin : introuvable";
}

} // namespace quorvex::lexicon
