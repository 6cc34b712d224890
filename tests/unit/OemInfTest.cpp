#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "OemInf.h"
#include "TestPaths.h"

namespace {

std::string InfDirectory() { return WindowsDirectory() + "inf\\"; }

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

TEST_F(InfFiles, FindsOnlyTheInfOfExactlyThisDriverThatNoOtherDriverNeeds)
{
    const std::string head = "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Strings]\r\n";
    Put("oem9101.inf", head + "PrinterName1=\"OTRO Laser 9\"\r\n");
    Put("oem9102.inf", head + "PrinterName1=\"VANTO Corvel 4410MFP PCL\"\r\n");
    Put("oem9103.inf", head + "PrinterName1=\"VANTO Corvel 4410MFP\"\r\n");
    Put("oem9103.PNF", "precompiled");
    Put("oem9104.inf", head + "PrinterName1=\"VANTO Duo\"\r\nPrinterName2=\"VANTO Duo Fax\"\r\n");
    const std::vector<std::string> none;
    char found[kOemInfNameSize] = "stale";
    // Letter case A-Z folded; "...4410MFP PCL" is another driver's INF.
    FindOemInfForDriver(found, "vanto corvel 4410mfp", none);
    EXPECT_STREQ("oem9103.inf", found);
    FindOemInfForDriver(found, "VANTO Corvel", none);
    EXPECT_STREQ("", found);
    FindOemInfForDriver(found, "", none);
    EXPECT_STREQ("", found);
    // An INF that also installs a driver still there stays for it.
    FindOemInfForDriver(found, "VANTO Duo", {"Otro", "vanto duo fax"});
    EXPECT_STREQ("", found);
    FindOemInfForDriver(found, "VANTO Duo", {"Otro"});
    EXPECT_STREQ("oem9104.inf", found);

    EXPECT_EQ(0, UninstallOemInf("oem9103.inf"));
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9103.inf"));
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9103.PNF"));
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9102.inf"));
    EXPECT_EQ(2, UninstallOemInf("oem9103.inf"));
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
    Put("oem9206.inf", "[Version]\r\n" + marker + "\r\n[Strings]\r\nPrinterName1=\"Vanto Sigue\"\r\n");
    const std::vector<std::string> installed = {"VANTO SIGUE"};

    RemoveMarkedOemInfs(0, marker.c_str(), installed);
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9201.inf"));

    RemoveMarkedOemInfs(2, marker.c_str(), installed);
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9201.inf"));
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9201.PNF"));
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9202.inf"));   // marker on line 3
    EXPECT_FALSE(PathExists(InfDirectory() + "oem9203.inf"));  // long line counted once
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9204.inf"));   // exact case
    EXPECT_TRUE(PathExists(InfDirectory() + "other9205.inf"));
    EXPECT_TRUE(PathExists(InfDirectory() + "oem9206.inf"));  // a driver still installed needs it
}
