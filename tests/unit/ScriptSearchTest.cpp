#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "MessageBoxSink.h"
#include "ProductText.h"
#include "ScriptSearch.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "UninstallDatabase.h"
#include "resource.h"

namespace {

class RecordingSink : public MessageSink {
public:
    void Show(unsigned textId, unsigned captionId, unsigned style) override
    {
        shown.push_back({textId, captionId, style});
    }
    struct Shown {
        unsigned text, caption, style;
    };
    std::vector<Shown> shown;
};

class ScriptSearch : public ::testing::Test {
protected:
    std::string Script(const std::string& relative, const std::string& text)
    {
        EXPECT_TRUE(dir.Write(relative, text));
        return dir.Join(relative);
    }
    TempDir dir;
    UninstallDatabase database;
};

// The production sink with the box itself replaced by a recorder.
class BoxRecorder : public MessageBoxSink {
public:
    using MessageBoxSink::MessageBoxSink;
    std::string text, caption;
    UINT style = 0;

protected:
    int ShowBox(const char* boxText, const char* boxCaption, UINT boxStyle) override
    {
        text = boxText;
        caption = boxCaption;
        style = boxStyle;
        return IDOK;
    }
};

}  // namespace

TEST_F(ScriptSearch, ScriptsFoundTwiceAreLoadedOnceAndInPathOrder)
{
    Script("drv\\VUNZ__08.unm", "[UnPrinterDrivers]\r\nVanto LX,D\r\n[D.Files]\r\nfrom_drv.dll\r\n");
    Script("sys\\VUNZ__08.unm", "[UnPrinterDrivers]\r\nVanto LX,S\r\n[S.Files]\r\nfrom_sys.dll\r\n");
    Script("sys\\other.unm", "[UnPrinterDrivers]\r\nOther,O\r\n");
    Script("sys\\VUNZ__08.unm.bak", "[UnPrinterDrivers]\r\nBackup,O\r\n");
    ASSERT_TRUE(dir.MakeDirectory("dir\\VUNZ__08.unm"));

    std::string lower = dir.Path();
    CharLowerA(&lower[0]);
    const std::vector<std::string> paths = CollectScripts(
        {dir.Join("sys"), dir.Join("drv\\"), lower + "DRV", dir.Join("dir"), dir.Join("missing"), ""});
    ASSERT_EQ(2u, paths.size());
    EXPECT_TRUE(TextEquals(dir.Join("drv\\VUNZ__08.unm").c_str(), paths[0].c_str()));
    EXPECT_TRUE(TextEquals(dir.Join("sys\\VUNZ__08.unm").c_str(), paths[1].c_str()));

    RecordingSink sink;
    EXPECT_EQ(2, LoadScripts(database, paths, sink));
    EXPECT_TRUE(sink.shown.empty());
    ASSERT_EQ(1u, database.profiles.size());
    EXPECT_EQ(TextList{"from_drv.dll"}, database.profiles[0].files);
}

TEST_F(ScriptSearch, NoScriptAtAllIsToldOnceAsAnError)
{
    RecordingSink sink;
    EXPECT_EQ(0, LoadScripts(database, CollectScripts({dir.Join("none")}), sink));
    ASSERT_EQ(1u, sink.shown.size());
    EXPECT_EQ(static_cast<unsigned>(IDS_NO_SCRIPTS), sink.shown[0].text);
    EXPECT_EQ(static_cast<unsigned>(IDS_CAPTION), sink.shown[0].caption);
    EXPECT_EQ(static_cast<unsigned>(MB_OK | MB_ICONERROR), sink.shown[0].style);
    EXPECT_TRUE(database.profiles.empty());
}

TEST(MessageBoxSink, ShowsTheStringTableTexts)
{
    HMODULE program = LoadLibraryExA(BesideTests("trelun08.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    StringLoader strings(program);
    BoxRecorder box(nullptr, strings);
    box.Show(IDS_NO_SCRIPTS, IDS_CAPTION, MB_OK | MB_ICONERROR);
    EXPECT_EQ(ProductText(IDS_NO_SCRIPTS), box.text);
    EXPECT_EQ(ProductText(IDS_CAPTION), box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.style);
    FreeLibrary(program);
}

TEST(ScriptDirectories, DriverDirectoryItsSubdirectoryProgramAndSystem)
{
    const std::vector<std::string> directories = ScriptDirectories();
    ASSERT_EQ(4u, directories.size());
    ASSERT_FALSE(directories[0].empty());
    EXPECT_EQ(directories[0] + "3\\", directories[1]);
    EXPECT_TRUE(TextEquals(BinDirectory().c_str(), directories[2].c_str()));
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(TextEquals((std::string(system) + "\\").c_str(), directories[3].c_str()));
}
