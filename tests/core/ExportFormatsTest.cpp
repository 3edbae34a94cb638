#include "output/ExportFormats.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvex {
namespace {

// One Windows-1252 field and what each format makes of it (UTF-8).
struct FieldCase {
    const char* name;
    std::string field;
    std::string tsv;
    std::string csv;
    std::string html;
};

class ExportField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ExportField, QuotesAndEscapesAsEachFormatRequires)
{
    const FieldCase& c = GetParam();
    std::string tsv, csv, html;
    appendField(tsv, ExportFormat::Tsv, c.field);
    appendField(csv, ExportFormat::Csv, c.field);
    appendField(html, ExportFormat::Html, c.field);
    EXPECT_EQ(tsv, c.tsv);
    EXPECT_EQ(csv, c.csv);
    EXPECT_EQ(html, c.html);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ExportField,
    ::testing::Values(
        FieldCase{"formNextToQuotes", "\"rosam\"", "\"rosam\"", "\"\"\"rosam\"\"\"",
                  "&quot;rosam&quot;"},
        FieldCase{"comma", "rosam, amat", "rosam, amat", "\"rosam, amat\"", "rosam, amat"},
        FieldCase{"tab", "rosam\tamat", "rosam\\tamat", "rosam\tamat", "rosam\tamat"},
        FieldCase{"crLf", "[1] rosam\r\n", "[1] rosam\\r\\n", "\"[1] rosam\r\n\"",
                  "[1] rosam\r\n"},
        FieldCase{"loneLf", "a\nb", "a\\nb", "\"a\nb\"", "a\nb"},
        FieldCase{"backslash", "a\\t", "a\\\\t", "a\\t", "a\\t"},
        FieldCase{"lessThanAndAmpersand", "<rosam> & rosa", "<rosam> & rosa",
                  "<rosam> & rosa", "&lt;rosam&gt; &amp; rosa"},
        FieldCase{"accentsAndEuro", "\xE9t\xE9 \x80", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",
                  "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
        FieldCase{"controlCharacters", std::string("a\0b\x81", 4), std::string("a\0b\xC2\x81", 5),
                  std::string("a\0b\xC2\x81", 5), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
