#include <gtest/gtest.h>

#include <string>

#include "OemPath.h"

namespace {

const ProtectedDirectories kWindowsOwn = {
    {"C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\System\\", "C:\\WINDOWS\\system32\\spool\\"},
    {"C:\\WINDOWS\\", "C:\\Program Files\\", "C:\\Program Files\\Common Files\\", "C:\\Documents and Settings\\"}};

std::string Usable(const std::string& value)
{
    std::string directory;
    return UsableOemDirectory(value, kWindowsOwn, directory) ? directory : "(refused)";
}

}  // namespace

TEST(OemPath, AMakersOwnFolderIsSearchedWindowsOwnAreNot)
{
    // A maker's folder, also right below a drive root or a share.
    EXPECT_EQ("C:\\VANTO\\", Usable("C:\\VANTO"));
    EXPECT_EQ("C:\\Program Files\\Vanto\\", Usable("C:\\Program Files\\Vanto\\"));
    EXPECT_EQ("C:\\WINDOWS\\Vanto\\", Usable("C:\\WINDOWS\\Vanto"));
    EXPECT_EQ("\\\\server\\share\\Vanto\\", Usable("\\\\server\\share\\Vanto"));
    // The system and spool directories, what holds them and what lies inside them.
    for (const char* sealed : {"C:\\WINDOWS\\SYSTEM32", "c:/windows/system32/spool/drivers/", "C:\\Windows\\System32\\Vanto",
                               "C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS"})
        EXPECT_EQ("(refused)", Usable(sealed)) << sealed;
    // Windows' roots themselves, in any spelling.
    for (const char* root : {"C:\\Program Files", "c:/program files/common files/", "C:\\Documents and Settings"})
        EXPECT_EQ("(refused)", Usable(root)) << root;
    // Not a directory of its own.
    for (const char* other : {"C:\\", "C:", "Vanto\\Drivers", "\\\\server\\share", "C:\\Vanto\\..", "", "  "})
        EXPECT_EQ("(refused)", Usable(other)) << other;
}
