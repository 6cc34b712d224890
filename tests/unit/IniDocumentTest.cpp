#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "IniDocument.h"
#include "TempDir.h"
#include "TestPaths.h"

class IniDocumentTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        EXPECT_TRUE(dir.Write(name, text));
        return dir.Join(name);
    }
    TempDir dir;
};

TEST_F(IniDocumentTest, LoadQueriesAndSecondLoadRefused)
{
    const std::string path = Write("a.ini", "[A]\r\nx = 1 ; note\r\n;y=2\r\n z=3\r\n[a]\r\nw=4");
    IniDocument doc;
    ASSERT_TRUE(doc.Load(path.c_str()));
    EXPECT_STREQ(path.c_str(), doc.GetPath());
    const IniSection* first = doc.FindSection("a");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("A", first->name);
    EXPECT_EQ(1, doc.CountEntries("a"));
    EXPECT_EQ(0, doc.CountEntries(""));
    EXPECT_EQ(nullptr, doc.FindSection(""));
    ASSERT_NE(nullptr, doc.FindEntry(first, "X"));
    EXPECT_EQ(nullptr, doc.FindEntry(first, "w"));

    const std::string other = Write("b.ini", "[B]\r\nb=1\r\n");
    EXPECT_FALSE(doc.Load(other.c_str()));
    EXPECT_EQ(nullptr, doc.FindSection("B"));
    EXPECT_STREQ(path.c_str(), doc.GetPath());
}

TEST_F(IniDocumentTest, LoadFailures)
{
    IniDocument missing;
    EXPECT_FALSE(missing.Load(dir.Join("none.ini").c_str()));
    IniDocument empty;
    EXPECT_FALSE(empty.Load(Write("empty.ini", "").c_str()));
    EXPECT_TRUE(empty.Sections().empty());

    const std::string locked = Write("locked.ini", "[S]\r\na=1\r\n");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    IniDocument blocked;
    EXPECT_FALSE(blocked.Load(locked.c_str()));
    CloseHandle(holder);

    IniDocument tooLong;
    EXPECT_FALSE(tooLong.Load(("C:\\" + std::string(300, 'x') + ".ini").c_str()));
}

TEST_F(IniDocumentTest, LastLineWithoutLineBreakLoads)
{
    IniDocument doc;
    ASSERT_TRUE(doc.Load(Write("c.ini", "[S]\r\nlast=9").c_str()));
    EXPECT_EQ(9, doc.GetInt("S", "last", -1));
}

TEST_F(IniDocumentTest, EntryListsAreDoubleNulAndReportShortBuffers)
{
    IniDocument doc;
    ASSERT_TRUE(doc.Load(Write("d.ini", "[S]\r\nab\r\ncde=v\r\n[E]\r\n").c_str()));
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(7, doc.GetEntryKeys("S", buffer, 8));
    EXPECT_EQ(0, std::memcmp("ab\0cde\0\0", buffer, 8));
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(-7, doc.GetEntryKeys("S", buffer, 7));
    EXPECT_EQ(0, std::memcmp("ab\0\0", buffer, 4));
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(9, doc.GetEntryLines("s", buffer, 16));
    EXPECT_EQ(0, std::memcmp("ab\0cde=v\0\0", buffer, 10));
    EXPECT_EQ(0, doc.GetEntryKeys("E", buffer, 16));
    EXPECT_EQ(0, doc.GetEntryKeys("missing", buffer, 16));
    EXPECT_EQ(0, doc.GetEntryKeys("S", nullptr, 16));
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(-7, doc.GetEntryKeys("S", buffer, 1));
    EXPECT_EQ('\0', buffer[0]);
    EXPECT_EQ('x', buffer[1]);
}

TEST_F(IniDocumentTest, GetIntConvertsLikeAtoi)
{
    IniDocument doc;
    ASSERT_TRUE(doc.Load(Write("e.ini", "[S]\r\nn=12abc\r\ne=\r\nneg= -3\r\n").c_str()));
    EXPECT_EQ(12, doc.GetInt("S", "n", 5));
    EXPECT_EQ(5, doc.GetInt("S", "e", 5));
    EXPECT_EQ(5, doc.GetInt("S", "missing", 5));
    EXPECT_EQ(5, doc.GetInt("", "n", 5));
    EXPECT_EQ(5, doc.GetInt("S", "", 5));
    EXPECT_EQ(-3, doc.GetInt("S", "neg", 5));
}

TEST_F(IniDocumentTest, SaveWritesTheNormalisedText)
{
    IniDocument doc;
    ASSERT_TRUE(doc.Load(Write("f.ini", "[S]\r\nk = v ;c\r\nj=\r\n").c_str()));
    const std::string out = dir.Join("out.ini");
    EXPECT_TRUE(doc.Save(out.c_str()));
    EXPECT_EQ("[S]\r\nk=v\r\nj\r\n\r\n", ReadWholeFile(out));
    EXPECT_STREQ(out.c_str(), doc.GetPath());

    IniDocument onlyHeaders;
    ASSERT_TRUE(onlyHeaders.Load(Write("g.ini", "[S]\r\n[T]\r\n").c_str()));
    EXPECT_FALSE(onlyHeaders.Save(dir.Join("g2.ini").c_str()));
    EXPECT_EQ("[S]\r\n\r\n[T]\r\n\r\n", ReadWholeFile(dir.Join("g2.ini")));
}

TEST_F(IniDocumentTest, FindEntryInSectionOnAFile)
{
    const std::string path =
        Write("win.ini", "[windows]\r\n;Device=1\r\nDevice=HP,winspool,LPT1:\r\n[next]\r\nx=1\r\n");
    const unsigned long at = FindEntryInSection(path.c_str(), "Windows", "device");
    EXPECT_EQ(ReadWholeFile(path).find("Device=HP"), at);
    EXPECT_EQ(0ul, FindEntryInSection(path.c_str(), "windows", "x"));
    EXPECT_EQ(0ul, FindEntryInSection(dir.Join("none.ini").c_str(), "windows", "Device"));
}

TEST_F(IniDocumentTest, RemoveEntryLineRemovesExactlyTheFoundLine)
{
    const std::string simple = Write("s.ini", "[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_TRUE(RemoveEntryLine(simple.c_str(), "S", "b"));
    EXPECT_EQ("[S]\r\nA=1\r\n", ReadWholeFile(simple));

    // A commented-out line and a line of a later section are not the entry.
    const std::string tricky = "[S]\r\n;B=old\r\nA=1\r\n[T]\r\nB=2\r\n";
    const std::string path = Write("t.ini", tricky);
    EXPECT_FALSE(RemoveEntryLine(path.c_str(), "S", "B"));
    EXPECT_EQ(tricky, ReadWholeFile(path));

    // A key that only begins with the text is another key.
    const std::string prefix = "[S]\r\nBName=1\r\n";
    const std::string prefixPath = Write("p.ini", prefix);
    EXPECT_FALSE(RemoveEntryLine(prefixPath.c_str(), "S", "B"));
    EXPECT_EQ(prefix, ReadWholeFile(prefixPath));

    const std::string middle = Write("m.ini", "[X]\r\nB=0\r\n[S]\r\n;B=c\r\nA=1\r\nB=2\r\nC=3\r\n");
    EXPECT_TRUE(RemoveEntryLine(middle.c_str(), "S", "B"));
    EXPECT_EQ("[X]\r\nB=0\r\n[S]\r\n;B=c\r\nA=1\r\nC=3\r\n", ReadWholeFile(middle));

    EXPECT_FALSE(RemoveEntryLine(dir.Join("none.ini").c_str(), "S", "B"));
    const std::string empty = Write("empty.ini", "");
    EXPECT_FALSE(RemoveEntryLine(empty.c_str(), "S", "B"));
}
