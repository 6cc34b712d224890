#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "TextUtil.h"

TEST(TextCompare, FoldsOnlyAsciiLettersToLowerCase)
{
    EXPECT_TRUE(TextEquals("VUNZ__08.UNM", "vunz__08.unm"));
    EXPECT_FALSE(TextEquals("\xC9", "\xE9"));  // accented letters keep their case
    // Folding to lower case puts "_" (0x5F) before the letters; folding to
    // upper case would put it after them.
    EXPECT_TRUE(TextLess("A_", "AB"));
    EXPECT_FALSE(TextLess("AB", "a_"));
    // Bytes compare unsigned: high characters sort after "z".
    EXPECT_TRUE(TextLess("z", "\xE9"));
    EXPECT_TRUE(TextLess("abc", "abcd"));
    EXPECT_FALSE(TextLess("abc", "ABC"));
    EXPECT_EQ(0, CompareText(nullptr, ""));
    EXPECT_TRUE(TextStartsWith("LaunchKDC foo", "launchkdc "));
    EXPECT_FALSE(TextStartsWith("Launch", "launchkdc "));
}

TEST(TextCopy, CopiesAreBoundedAndTerminated)
{
    char small[6];
    EXPECT_TRUE(CopyText(small, "abcde"));
    EXPECT_STREQ("abcde", small);
    EXPECT_FALSE(CopyText(small, "abcdefgh"));
    EXPECT_STREQ("abcde", small);
    EXPECT_TRUE(CopyText(small, nullptr));
    EXPECT_STREQ("", small);

    char buffer[8] = "abc";
    EXPECT_TRUE(AppendText(buffer, ""));
    EXPECT_TRUE(AppendText(buffer, "def"));
    EXPECT_FALSE(AppendText(buffer, "ghi"));
    EXPECT_STREQ("abcdefg", buffer);

    char unterminated[4] = {'x', 'y', 'z', 'w'};
    EXPECT_FALSE(AppendText(unterminated, "a"));
    EXPECT_EQ('\0', unterminated[3]);

    EXPECT_TRUE(FitsField(std::string(259, 'a').c_str()));
    EXPECT_FALSE(FitsField(std::string(260, 'a').c_str()));
}

// The system's formatter leaves a text that fills the buffer exactly, or
// one that is cut, without its terminator; FormatText never does.
TEST(TextCopy, FormattingIsBoundedAndTerminated)
{
    char six[6];
    EXPECT_TRUE(FormatText(six, sizeof(six), "%s%d", "ab", 123));
    EXPECT_STREQ("ab123", six);
    EXPECT_FALSE(FormatText(six, sizeof(six), "%04X%s", 0xBEEFu, "zz"));
    EXPECT_STREQ("BEEFz", six);
    EXPECT_FALSE(FormatText(six, sizeof(six), "%lu", 123456789ul));
    EXPECT_STREQ("12345", six);
    EXPECT_TRUE(FormatText(six, sizeof(six), "%s", ""));
    EXPECT_STREQ("", six);

    char one[1] = {'x'};
    EXPECT_FALSE(FormatText(one, sizeof(one), "%d", 7));
    EXPECT_EQ('\0', one[0]);
    EXPECT_FALSE(FormatText(nullptr, 4, "%d", 7));
    EXPECT_FALSE(FormatText(six, 0, "%d", 7));
}

TEST(TextTokens, NextTokenCutsAtTheFirstDelimiter)
{
    char line[] = "HKLM,SOFTWARE\\VANTO,,2";
    char* rest = NextToken(line, ',');
    EXPECT_STREQ("HKLM", line);
    ASSERT_NE(nullptr, rest);
    char* value = NextToken(rest, ',');
    EXPECT_STREQ("SOFTWARE\\VANTO", rest);
    char* flag = NextToken(value, ',');
    EXPECT_STREQ("", value);
    EXPECT_STREQ("2", flag);
    EXPECT_EQ(nullptr, NextToken(flag, ','));
    EXPECT_EQ(nullptr, NextToken(nullptr, ','));
}

TEST(TextTokens, NextTokenWithoutDelimiterWalksADoubleNulList)
{
    const char list[] = "ab\0cde\0\0";
    char buffer[sizeof(list)];
    std::memcpy(buffer, list, sizeof(list));
    char* item = buffer;
    char* second = NextToken(item, '\0');
    ASSERT_NE(nullptr, second);
    EXPECT_STREQ("cde", second);
    EXPECT_EQ(nullptr, NextToken(second, '\0'));
    char empty[2] = {'\0', '\0'};
    EXPECT_EQ(nullptr, NextToken(empty, '\0'));
}

TEST(TextTokens, QuotedDelimitersDoNotCount)
{
    char line[] = "\"Grupo, con coma\",Atajo,17";
    char* rest = NextTokenQuoted(line, ',');
    EXPECT_STREQ("\"Grupo, con coma\"", line);
    ASSERT_NE(nullptr, rest);
    char* last = NextTokenQuoted(rest, ',');
    EXPECT_STREQ("Atajo", rest);
    EXPECT_STREQ("17", last);
    char open[] = "\"a,b";
    EXPECT_EQ(nullptr, NextTokenQuoted(open, ','));
}

TEST(TextEdit, TrimRemoveAndBackslash)
{
    char quoted[] = "\"\"name\"\"";
    TrimChar(quoted, '"');
    EXPECT_STREQ("name", quoted);
    char only[] = "\"\"\"";
    TrimChar(only, '"');
    EXPECT_STREQ("", only);
    char inner[] = "\"a\"b\"";
    RemoveChar(inner, '"');
    EXPECT_STREQ("ab", inner);

    char dir[8] = "C:\\x";
    EXPECT_TRUE(EnsureTrailingBackslash(dir));
    EXPECT_STREQ("C:\\x\\", dir);
    EXPECT_TRUE(EnsureTrailingBackslash(dir));
    EXPECT_STREQ("C:\\x\\", dir);
    char emptyDir[4] = "";
    EXPECT_TRUE(EnsureTrailingBackslash(emptyDir));
    EXPECT_STREQ("", emptyDir);
    char full[4] = "abc";
    EXPECT_FALSE(EnsureTrailingBackslash(full));
    EXPECT_STREQ("abc", full);

    char lines[] = "uno\\ndos\\\\n";
    ExpandLineFeeds(lines);
    EXPECT_STREQ("uno\ndos\\\n", lines);
}

TEST(TextNumbers, ParseDecimalLikeAtoi)
{
    EXPECT_EQ(12, ParseDecimal("12abc"));
    EXPECT_EQ(-7, ParseDecimal("  -7"));
    EXPECT_EQ(0, ParseDecimal("abc"));
    EXPECT_EQ(0, ParseDecimal(""));
    EXPECT_EQ(LONG_MAX, ParseDecimal("99999999999999999999"));
    EXPECT_EQ(LONG_MIN, ParseDecimal("-99999999999999999999"));
}
