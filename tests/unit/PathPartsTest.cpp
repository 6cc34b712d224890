#include <gtest/gtest.h>

#include <string>

#include "PathParts.h"

TEST(PathParts, SplitsAtDriveLastSlashAndLastDot)
{
    PathParts parts;
    ASSERT_TRUE(SplitPath("C:\\windows\\system32\\drivers.v2\\file.tar.gz", parts));
    EXPECT_STREQ("C:", parts.drive);
    EXPECT_STREQ("\\windows\\system32\\drivers.v2\\", parts.directory);
    EXPECT_STREQ("file.tar", parts.baseName);
    EXPECT_STREQ(".gz", parts.extension);

    ASSERT_TRUE(SplitPath("somefile.ini", parts));
    EXPECT_STREQ("", parts.drive);
    EXPECT_STREQ("", parts.directory);
    EXPECT_STREQ("somefile", parts.baseName);
    EXPECT_STREQ(".ini", parts.extension);

    ASSERT_TRUE(SplitPath("C:\\dir.d\\noext", parts));
    EXPECT_STREQ("noext", parts.baseName);
    EXPECT_STREQ("", parts.extension);
}

TEST(PathParts, OverlongPathsAreRefusedNotCut)
{
    PathParts parts;
    const std::string longPath = "C:\\" + std::string(300, 'a') + "\\x.ini";
    EXPECT_FALSE(SplitPath(longPath.c_str(), parts));
    EXPECT_STREQ("", parts.directory);
    EXPECT_STREQ("", parts.baseName);
}

TEST(PathParts, ComposeInsertsMissingBackslashAndRefusesOverflow)
{
    char out[kTextField];
    EXPECT_TRUE(ComposePath(out, sizeof(out), "C:", "\\dir", "name", ".ext"));
    EXPECT_STREQ("C:\\dir\\name.ext", out);
    EXPECT_TRUE(ComposePath(out, sizeof(out), "", "", "name", ""));
    EXPECT_STREQ("name", out);
    char tiny[8];
    EXPECT_FALSE(ComposePath(tiny, sizeof(tiny), "C:", "\\directory\\", "x", ""));
}
