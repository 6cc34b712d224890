// The hand-over to the 64-bit program: where it is looked for and the
// command line it gets.
#include <gtest/gtest.h>

#include <windows.h>

#include "Wow64HandOver.h"

TEST(Wow64HandOver, The64BitProgramGetsThisRunsArgumentsUnchanged)
{
    EXPECT_EQ("\"C:\\Program Files\\V\\x64\\trelun08.exe\" /SILENT /LOG:\"C:\\a b.log\" /MFG:Vanto",
              HandOverCommandLine("C:\\Program Files\\V\\x64\\trelun08.exe", "/SILENT /LOG:\"C:\\a b.log\" /MFG:Vanto"));
    EXPECT_EQ("\"C:\\x64\\trelun08.exe\"", HandOverCommandLine("C:\\x64\\trelun08.exe", ""));
    EXPECT_EQ("\"C:\\x64\\trelun08.exe\"", HandOverCommandLine("C:\\x64\\trelun08.exe", nullptr));

    char own[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, own, MAX_PATH), 0u);
    std::string expected = own;
    expected = expected.substr(0, expected.find_last_of('\\') + 1) + "x64\\trelun08.exe";
    EXPECT_EQ(expected, Native64BitProgram());
}
