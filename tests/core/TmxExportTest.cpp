#include "output/TmxExport.h"
#include "text/Cp1252.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace quorvex {
namespace {

using testsupport::TempDir;

std::string cp(std::string_view utf8)
{
    return utf8ToCp1252(utf8).bytes;
}

const char* const kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tmx version=\"1.4\">\n"
    "<header creationtool=\"Veltrano - Quorvex\" creationtoolversion=\"2.0\" segtype=\"paragraph\""
    " o-tmf=\"Quorvex\" adminlang=\"fr\" srclang=\"la\" datatype=\"plaintext\"/>\n"
    "<body>\n";

TEST(TmxExport, OneUnitPerReferenceInTextOrderEscapedAndTrimmed)
{
    // Hits listed out of text order, [1] twice; [2] missing in French; markers with "&" and
    // "<"; line breaks of each kind; a control character XML forbids.
    const std::string latin = cp("[1]  Deus & homo\r\nDeus <et> \"caritas\"  [2] Deus\x01 est\r [a&b<c>] Deus\n");
    const std::string french = cp("[1] Dieu & l’homme\r\nDieu  [a&b<c>]\tLe cœur\r\n\r\n");
    const WordTable table = WordTable::segment(latin);
    ResultList hits = findForms(table, "deus");
    ASSERT_EQ(hits.size(), 4u);
    std::swap(hits[0], hits[3]);

    const std::string expected = std::string(kHead)
        + "<tu tuid=\"[1]\">\n"
          "<tuv xml:lang=\"la\"><seg>Deus &amp; homo Deus &lt;et&gt; &quot;caritas&quot;</seg></tuv>\n"
          "<tuv xml:lang=\"fr\"><seg>Dieu &amp; l’homme Dieu</seg></tuv>\n"
          "</tu>\n"
          "<tu tuid=\"[2]\">\n"
          "<tuv xml:lang=\"la\"><seg>Deus\xEF\xBF\xBD est</seg></tuv>\n"
          "</tu>\n"
          "<tu tuid=\"[&amp;&lt;&gt;]\">\n"
          "<tuv xml:lang=\"la\"><seg>Deus</seg></tuv>\n"
          "<tuv xml:lang=\"fr\"><seg>Le cœur</seg></tuv>\n"
          "</tu>\n"
          "</body>\n</tmx>\n";
    const std::string tmx = tmxDocument(table, hits, latin, &french, "2.0");
    EXPECT_EQ(tmx, expected);

    const std::string latinOnly = tmxDocument(table, hits, latin, nullptr, "2.0");
    EXPECT_EQ(latinOnly.find("xml:lang=\"fr\""), std::string::npos);
    EXPECT_EQ(tmxDocument(table, {}, latin, &french, "2.0"), std::string(kHead) + "</body>\n</tmx>\n");

    // Well formed to an XML parser, whatever the input held.
    if (std::system("xmllint --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    TempDir dir;
    for (const auto& [name, document] : {std::pair{"both.tmx", tmx}, std::pair{"latin.tmx", latinOnly}}) {
        const std::string path = dir.write(name, document);
        EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << name;
    }
}

} // namespace
} // namespace quorvex
