// The look-only mode of the deletion primitives: each predicts what the
// change would give, later looks see what earlier ones made gone, and
// nothing on disk or in the registry changes.
#include <gtest/gtest.h>

#include <windows.h>

#include "DeferredDeletion.h"
#include "LookOnly.h"
#include "RegistryTree.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "TestRegistry.h"
#include "WhatIfReport.h"

namespace {

const std::string kBase = "Software\\TrelunLookOnlyTest";

LookResult LastResult(const WhatIfRecord& record) { return record.Actions().back().result; }

}  // namespace

TEST(LookOnly, RegistryLooksFollowWhatWouldBeGone)
{
    ScopedKeys keys(HKEY_CURRENT_USER, {kBase});
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kBase + "\\A\\B", "v", "1"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kBase + "\\T\\Kept", "k", "1"));
    ASSERT_TRUE(SetText(HKEY_CURRENT_USER, kBase + "\\T", "gone", "1"));
    WhatIfRecord record;
    {
        const LookOnlyScope look(record);
        EXPECT_EQ(ERROR_ACCESS_DENIED, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, (kBase + "\\A").c_str()));
        EXPECT_EQ(LookResult::kRefused, LastResult(record));
        EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, (kBase + "\\A\\B").c_str()));
        // Its only subkey has gone: now the parent would go too, and the
        // value inside the gone key is no longer there to delete.
        EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryKeyWithoutSubkeys(HKEY_CURRENT_USER, (kBase + "\\A").c_str()));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegistryValue(HKEY_CURRENT_USER, (kBase + "\\A\\B").c_str(), "v"));
        EXPECT_EQ(LookResult::kNotFound, LastResult(record));

        const std::vector<std::string> keep = {kBase + "\\T\\Kept"};
        EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTreeExcept(HKEY_CURRENT_USER, (kBase + "\\T").c_str(), keep));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteRegistryValue(HKEY_CURRENT_USER, (kBase + "\\T").c_str(), "gone"));
        EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryValue(HKEY_CURRENT_USER, (kBase + "\\T\\Kept").c_str(), "k"));
    }
    ASSERT_EQ(1u, record.Staying().size());
    EXPECT_EQ("HKCU\\" + kBase + "\\T\\Kept", record.Staying()[0].target);
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kBase + "\\A\\B", "v"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kBase + "\\T", "gone"));
    EXPECT_EQ(nullptr, LookOnlyRecord());
}

TEST(LookOnly, FileLooksPredictDeletionScheduleAndEmptyDirectories)
{
    TempDir directory;
    ASSERT_TRUE(directory.Write("d\\a.dll", "a"));
    ASSERT_TRUE(directory.Write("d\\ro.dll", "r"));
    const std::string readOnly = directory.Join("d\\ro.dll");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const COSInfo os;
    WhatIfRecord record;
    {
        const LookOnlyScope look(record);
        EXPECT_FALSE(RemoveEmptyDirectory(directory.Join("d").c_str()));
        EXPECT_EQ(1, DeleteFileOrSchedule(os, directory.Join("d\\a.dll").c_str()));
        EXPECT_EQ(LookResult::kFound, LastResult(record));
        EXPECT_EQ(1, DeleteFileOrSchedule(os, directory.Join("d\\a.dll").c_str()));
        EXPECT_EQ(LookResult::kNotFound, LastResult(record));
        // Read-only: DeleteFileA would fail and the file wait for the restart.
        EXPECT_EQ(0, DeleteFileOrSchedule(os, readOnly.c_str()));
        EXPECT_EQ(LookResult::kAtNextRestart, LastResult(record));
        EXPECT_FALSE(RemoveEmptyDirectory(directory.Join("d").c_str()));
    }
    EXPECT_TRUE(PathExists(directory.Join("d\\a.dll")));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        const LookOnlyScope look(record);
        EXPECT_EQ(1, DeleteFileOrSchedule(os, readOnly.c_str()));
        EXPECT_TRUE(RemoveEmptyDirectory(directory.Join("d").c_str()));
    }
    EXPECT_TRUE(DirectoryExists(directory.Join("d")));
    WhatIfSummary summary;
    summary.exitCode = 3010;
    const std::string report = WhatIfReportText(record, summary);
    EXPECT_NE(std::string::npos, report.find("\r\nAtNextRestart=1\r\n"));
    EXPECT_NE(std::string::npos, report.find("=RemovalProfile|RemoveDirectory|found|" + directory.Join("d\\") + "\r\n"));
    EXPECT_NE(std::string::npos, report.find("\r\nExitCode=3010\r\n"));
}
