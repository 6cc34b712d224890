#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "OemInf.h"
#include "TestPaths.h"

namespace {

std::string InfDirectory() { return WindowsDirectory() + "inf\\"; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// INF files written for one test and removed afterwards.
class InfFiles : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& text, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
    {
        const std::string path = InfDirectory() + name;
        ASSERT_TRUE(WriteWholeFile(path, text));
        SetFileAttributesA(path.c_str(), attributes);
        written.push_back(path);
    }
    void TearDown() override
    {
        for (const std::string& path : written) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    std::vector<std::string> written;
};

}  // namespace

TEST_F(InfFiles, FindsTheInfNamingTheDriver)
{
    Put("oem9101.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Strings]\r\nPrinterName1=\"OTRO Laser 9\"\r\n");
    Put("oem9102.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Strings]\r\nPrinterName1=\"VANTO Corvel 4410MFP PCL\"\r\n");
    Put("oem9102.PNF", "precompiled");
    char found[kOemInfNameSize] = "stale";
    FindOemInfForDriver(found, "VANTO Corvel 4410MFP");
    EXPECT_STREQ("oem9102.inf", found);
    FindOemInfForDriver(found, "vanto corvel 4410MFP");  // exact case
    EXPECT_STREQ("", found);
    FindOemInfForDriver(found, "");
    EXPECT_STREQ("", found);

    EXPECT_EQ(0, UninstallOemInf("oem9102.inf"));
    EXPECT_FALSE(Exists(InfDirectory() + "oem9102.inf"));
    EXPECT_FALSE(Exists(InfDirectory() + "oem9102.PNF"));
    EXPECT_TRUE(Exists(InfDirectory() + "oem9101.inf"));
    EXPECT_EQ(2, UninstallOemInf("oem9102.inf"));
    EXPECT_EQ(2, UninstallOemInf(""));
}

TEST_F(InfFiles, MarkerLineSelectsTheInfAndItsTwin)
{
    const std::string marker = "; VANTO printer package";
    Put("oem9201.inf", "[Version]\r\n" + marker + " 08\r\nSignature=x\r\n", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Put("oem9201.PNF", "binary");
    Put("oem9202.inf", "[Version]\r\nSignature=x\r\n" + marker + "\r\n");
    Put("oem9203.inf", std::string(700, ';') + "\r\n" + marker + "\r\n");  // one long first line
    Put("oem9204.inf", "[Version]\r\n; vanto printer package\r\n");
    Put("other9205.inf", "[Version]\r\n" + marker + "\r\n");

    RemoveMarkedOemInfs(0, marker.c_str());
    EXPECT_TRUE(Exists(InfDirectory() + "oem9201.inf"));

    RemoveMarkedOemInfs(2, marker.c_str());
    EXPECT_FALSE(Exists(InfDirectory() + "oem9201.inf"));
    EXPECT_FALSE(Exists(InfDirectory() + "oem9201.PNF"));
    EXPECT_TRUE(Exists(InfDirectory() + "oem9202.inf"));   // marker on line 3
    EXPECT_FALSE(Exists(InfDirectory() + "oem9203.inf"));  // long line counted once
    EXPECT_TRUE(Exists(InfDirectory() + "oem9204.inf"));   // exact case
    EXPECT_TRUE(Exists(InfDirectory() + "other9205.inf"));
}
