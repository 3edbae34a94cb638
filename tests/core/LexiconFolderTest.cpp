// Where the Latin lexicon is looked for, in temporary folders laid out as an install, a
// build tree and the collatinus package would lay them out.

#include "lexicon/LexiconFolder.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace quorvex::lexicon;
using quorvex::testsupport::TempDir;

namespace {

// What a folder of the layout holds.
enum Layout : unsigned {
    Installed = 1,  // prefix/share/quorvex/lexicon beside prefix/bin/quorvex-cli
    BuildTree = 2,  // build/share/quorvex/lexicon, the program in build/src/cli
    System = 4,     // the package's folder
    Named = 8,      // a folder given by the option
    InEnvironment = 16,
};

struct Machine {
    TempDir dir;
    std::string folder(const std::string& name) const
    {
        std::filesystem::create_directories(std::filesystem::u8path(dir.file(name)));
        return dir.file(name);
    }
    std::string put(const std::string& name) const
    {
        folder(std::filesystem::u8path(name).parent_path().u8string());
        return dir.write(name, "!\n");
    }
    std::string lexicon(const std::string& name) const
    {
        put(name + "/lemmes.la");
        put(name + "/modeles.la");
        return dir.file(name);
    }
};

std::string native(const std::string& path)
{
    return std::filesystem::u8path(path).make_preferred().u8string();
}

} // namespace

TEST(LexiconFolder, EachPlaceInItsOrderAndTheFoldersTried)
{
    struct Row {
        const char* name;
        unsigned holding;           // the places that hold a lexicon
        bool programInBuildTree;    // else installed under prefix/bin
        const char* found;          // the place found; "" none
        std::vector<const char*> tried;
    };
    const std::vector<Row> rows = {
        {"option first", Named | InEnvironment | Installed | System, false, "named", {"named"}},
        {"variable next", InEnvironment | Installed | System, false, "environment", {"environment"}},
        {"beside the installed program", Installed | System, false, "prefix/share/quorvex/lexicon",
         {"prefix/share/quorvex/lexicon"}},
        {"the build tree", BuildTree | System, true, "build/share/quorvex/lexicon",
         {"build/src/share/quorvex/lexicon", "build/share/quorvex/lexicon"}},
        {"an install in the build tree first", Installed | BuildTree, true, "build/src/share/quorvex/lexicon",
         {"build/src/share/quorvex/lexicon"}},
        {"the package's folder", System, false, "system", {"prefix/share/quorvex/lexicon", "system"}},
        {"the package's folder after the build tree's", System, true, "system",
         {"build/src/share/quorvex/lexicon", "build/share/quorvex/lexicon", "system"}},
        {"none", 0, true, "",
         {"build/src/share/quorvex/lexicon", "build/share/quorvex/lexicon", "system"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Machine m;
        LexiconPlaces places;
        // A named folder is taken as it is, lexicon or not.
        if (row.holding & Named)
            places.named = m.folder("named");
        if (row.holding & InEnvironment)
            places.environment = m.folder("environment");
        if (row.programInBuildTree) {
            m.put("build/CMakeCache.txt");
            places.program = m.put("build/src/cli/quorvex-cli");
            if (row.holding & Installed)
                m.lexicon("build/src/share/quorvex/lexicon");
        } else {
            places.program = m.put("prefix/bin/quorvex-cli");
            if (row.holding & Installed)
                m.lexicon("prefix/share/quorvex/lexicon");
        }
        if (row.holding & BuildTree)
            m.lexicon("build/share/quorvex/lexicon");
        places.system = (row.holding & System) ? m.lexicon("system") : m.folder("system");

        const LexiconLookup lookup = lookUpLexicon(places);
        if (*row.found == '\0')
            EXPECT_FALSE(lookup.folder) << *lookup.folder;
        else
            EXPECT_EQ(lookup.folder.value_or("(none)"), native(m.dir.file(row.found)));
        std::vector<std::string> tried;
        for (const char* t : row.tried)
            tried.push_back(native(m.dir.file(t)));
        EXPECT_EQ(lookup.tried, tried);
    }
}

TEST(LexiconFolder, AFolderWithoutBothMainFilesIsNoLexiconAndNoPlaceIsNoneTried)
{
    Machine m;
    m.put("half/lemmes.la");
    m.put("file");
    EXPECT_FALSE(holdsLexicon(m.dir.file("half")));
    EXPECT_FALSE(holdsLexicon(m.dir.file("file")));
    EXPECT_FALSE(holdsLexicon(m.dir.file("absent")));
    EXPECT_TRUE(holdsLexicon(m.lexicon("whole")));

    // An unknown program and no system folder: nothing to try.
    const LexiconLookup nowhere = lookUpLexicon(LexiconPlaces{});
    EXPECT_FALSE(nowhere.folder);
    EXPECT_TRUE(nowhere.tried.empty());
}

TEST(LexiconFolder, TheMessagesNameTheFoldersAndTheWaysToTheLexicon)
{
    const std::string missing = describeMissingLexicon({"/opt/q/share/quorvex/lexicon", "/usr/share/collatinus/data"});
    EXPECT_EQ(missing, "Le lexique latin est introuvable ; dossiers essayés : « /opt/q/share/quorvex/lexicon », "
                       "« /usr/share/collatinus/data ». Pour l'obtenir : installez le paquet quorvex-lexicon, "
                       "ou lancez tools/fetch-lexicon.sh depuis les sources du programme, ou nommez son dossier "
                       "(--lexicon DOSSIER, variable QUORVEX_LEXICON).");
    // A name that is not UTF-8 cannot make the message invalid.
    EXPECT_NE(describeMissingLexicon({"/x\xff"}).find("« /x\\xFF »"), std::string::npos)
        << describeMissingLexicon({"/x\xff"});
    EXPECT_EQ(describeLexiconInUse({std::string("/usr/share/quorvex/lexicon"), {}}),
              "Lexique latin : /usr/share/quorvex/lexicon");
    EXPECT_EQ(describeLexiconInUse({std::nullopt, {"/a"}}), "Lexique latin : introuvable");
}
