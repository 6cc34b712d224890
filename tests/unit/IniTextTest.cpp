#include <gtest/gtest.h>

#include <string>

#include "IniText.h"

namespace {

std::vector<IniSection> Parse(const std::string& text) { return ParseIniText(text.data(), text.size()); }

}  // namespace

TEST(IniText, CommentsBlankLinesAndRepeatedSections)
{
    const auto sections = Parse("[A]\r\nx = 1 ; note\r\n;y=2\r\n z=3\r\n[a]\r\nw=4");
    ASSERT_EQ(2u, sections.size());
    EXPECT_EQ("A", sections[0].name);
    ASSERT_EQ(1u, sections[0].entries.size());
    EXPECT_EQ("x", sections[0].entries[0].key);
    EXPECT_EQ("1", sections[0].entries[0].value);
    EXPECT_EQ("a", sections[1].name);
    ASSERT_EQ(1u, sections[1].entries.size());
    EXPECT_EQ("w", sections[1].entries[0].key);
    EXPECT_EQ("4", sections[1].entries[0].value);
}

TEST(IniText, KeysValuesAndEquals)
{
    const auto sections = Parse("[S]\nk\nk2=\nk3=v=w\n\tt = x\t \n");
    ASSERT_EQ(1u, sections.size());
    const auto& e = sections[0].entries;
    ASSERT_EQ(4u, e.size());
    EXPECT_EQ("k", e[0].key);
    EXPECT_EQ("", e[0].value);
    EXPECT_EQ("k2", e[1].key);
    EXPECT_EQ("", e[1].value);
    EXPECT_EQ("v=w", e[2].value);
    // Only blanks are trimmed; tabs stay.
    EXPECT_EQ("\tt", e[3].key);
    EXPECT_EQ("x\t", e[3].value);
}

TEST(IniText, KeysBeforeAnyHeaderAndBrokenHeaders)
{
    const auto sections = Parse("lost=1\r\n[A]\r\na=1\r\n[B\r\nb=2\r\n");
    ASSERT_EQ(1u, sections.size());
    ASSERT_EQ(2u, sections[0].entries.size());
    EXPECT_EQ("b", sections[0].entries[1].key);  // stays with [A]
}

TEST(IniText, LineBreakRunsAndNulBytes)
{
    const auto crs = Parse("[S]\r\r\n\n\ra=1\rb=2");
    ASSERT_EQ(1u, crs.size());
    EXPECT_EQ(2u, crs[0].entries.size());

    const std::string withNul("[S]\r\na=1\r\nb=2\0c=3\r\n[T]\r\n", 23);
    const auto cut = Parse(withNul);
    ASSERT_EQ(1u, cut.size());
    ASSERT_EQ(1u, cut[0].entries.size());  // the line holding the NUL goes too
    EXPECT_EQ("a", cut[0].entries[0].key);

    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(ParseIniText(nullptr, 10).empty());
}

TEST(IniText, ByteOrderMarkIsPartOfTheFirstLine)
{
    const auto sections = Parse("\xEF\xBB\xBF[S]\r\na=1\r\n");
    EXPECT_TRUE(sections.empty());
}

TEST(IniText, OverlongTextsAreRefusedNotCut)
{
    const std::string longKey(260, 'k');
    const std::string key259(259, 'k');
    const std::string longName(260, 'n');
    const std::string text = "[S]\r\n" + longKey + "=1\r\n" + key259 + "=" + std::string(260, 'v') +
                             "\r\n" + key259 + "=ok\r\n\r\n[" + longName + "]\r\nunder=1\r\n[T]\r\nt=1\r\n";
    std::vector<IniRefusedLine> refused;
    const auto sections = ParseIniText(text.data(), text.size(), &refused);
    ASSERT_EQ(2u, sections.size());
    ASSERT_EQ(1u, sections[0].entries.size());
    EXPECT_EQ(key259, sections[0].entries[0].key);
    EXPECT_EQ("ok", sections[0].entries[0].value);
    // Lines under the refused header do not fall into [S].
    EXPECT_EQ("T", sections[1].name);
    EXPECT_EQ(1u, sections[1].entries.size());

    // Each refusal is told with its line number, counted over blank lines too.
    ASSERT_EQ(3u, refused.size());
    EXPECT_EQ(2u, refused[0].lineNumber);
    EXPECT_EQ("S", refused[0].section);
    EXPECT_FALSE(refused[0].isHeader);
    EXPECT_EQ(3u, refused[1].lineNumber);
    EXPECT_EQ(6u, refused[2].lineNumber);
    EXPECT_TRUE(refused[2].isHeader);
}

TEST(IniText, FormatNormalises)
{
    std::vector<IniSection> sections{{"S", {{"k", "v"}, {"j", ""}}}, {"E", {}}};
    std::size_t lines = 0;
    EXPECT_EQ("[S]\r\nk=v\r\nj\r\n\r\n[E]\r\n\r\n", FormatIniText(sections, &lines));
    EXPECT_EQ(2u, lines);
}

TEST(IniText, FindTextInSectionSkipsCommentsAndStopsAtNextSection)
{
    const std::string text = "[T]\r\nDevice=0\r\n[windows]\r\n;Device=1\r\nDevice=2\r\n[Other]\r\nZed=1\r\n";
    const std::size_t at = FindTextInSectionBytes(text.data(), text.size(), "WINDOWS", "device");
    ASSERT_GT(at, 0u);
    EXPECT_EQ(text.find("Device=2"), at);
    EXPECT_EQ(0u, FindTextInSectionBytes(text.data(), text.size(), "windows", "Zed"));
    EXPECT_EQ(0u, FindTextInSectionBytes(text.data(), text.size(), "missing", "Device"));
    // A prefix match anywhere counts for the lookup.
    EXPECT_GT(FindTextInSectionBytes(text.data(), text.size(), "windows", "vice=2"), 0u);
}

TEST(IniText, FindKeyLineMatchesWholeKeysInsideTheSection)
{
    const std::string text = "[S]\r\n;B=0\r\nBB=1\r\n  b = 2\r\n[U]\r\nC=3\r\n";
    std::size_t start = 0, length = 0;
    ASSERT_TRUE(FindKeyLineInSectionBytes(text.data(), text.size(), "s", "B", &start, &length));
    EXPECT_EQ(text.find("  b = 2"), start);
    EXPECT_EQ(std::string("  b = 2\r\n").size(), length);
    EXPECT_FALSE(FindKeyLineInSectionBytes(text.data(), text.size(), "S", "C", &start, &length));
    EXPECT_FALSE(FindKeyLineInSectionBytes(text.data(), text.size(), "S", "", &start, &length));
    const std::string last = "[S]\r\nA=1\r\nB=2";
    ASSERT_TRUE(FindKeyLineInSectionBytes(last.data(), last.size(), "S", "b", &start, &length));
    EXPECT_EQ(last.size(), start + length);
}
