#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "HardwareIdMatch.h"
#include "TestDevices.h"
#include "UsbDevice.h"

TEST(HardwareIdMatch, FirstOfTheFirstTenIdsThatBeginsWithTheTarget)
{
    const char list[] = "USB\\VID_1A2B&PID_3C4D&REV_0100\0USB\\VID_1A2B&PID_3C4D\0\0";
    EXPECT_EQ(0, FindHardwareIdMatch(list, sizeof(list), "usb\\vid_1a2b&pid_3c4d"));
    EXPECT_EQ(-1, FindHardwareIdMatch(list, sizeof(list), "USB\\VID_1A2B&PID_3C4E"));
    EXPECT_EQ(-1, FindHardwareIdMatch(list, sizeof(list), ""));

    std::string eleven;
    for (int i = 0; i < 10; ++i)
        eleven += "ID" + std::to_string(i) + '\0';
    eleven += std::string("TARGET") + '\0' + '\0';
    EXPECT_EQ(-1, FindHardwareIdMatch(eleven.data(), eleven.size(), "TARGET"));
    EXPECT_EQ(9, FindHardwareIdMatch(eleven.data(), eleven.size(), "ID9"));

    const char unterminated[4] = {'U', 'S', 'B', '\\'};
    EXPECT_EQ(0, FindHardwareIdMatch(unterminated, sizeof(unterminated), "USB\\"));
    EXPECT_EQ(-1, FindHardwareIdMatch(unterminated, sizeof(unterminated), "USB\\V"));

    char formatted[64];
    FormatUsbHardwareId(0x1a2b, 0x3c, formatted, sizeof(formatted));
    EXPECT_STREQ("USB\\VID_1A2B&PID_003C", formatted);
    EXPECT_TRUE(IsUsbBusId("usb\\VID_1"));
    EXPECT_FALSE(IsUsbBusId("USBPRINT\\X"));
    EXPECT_TRUE(IsUsbPrintId("USBPRINT\\X"));
}

namespace {

const char* const kTestIds[] = {"USB\\VID_1A2B&PID_3C4D", "USB\\VID_1A2B&PID_9999", "USB\\VID_0ACE&PID_0042",
                                "USBPRINT\\VANTOCORVEL4410", "USBPRINT\\OTHERMAKER"};

// Serial: the tests make and remove devices of the one device list of the prefix.
class SerialUsbDevice : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        for (const char* id : kTestIds)
            CountTestDevices(id, true);
    }
};

}  // namespace

TEST_F(SerialUsbDevice, RemovesTheUsbNodeByVendorAndProduct)
{
    ASSERT_TRUE(CreateTestDevice("USB\\VID_1A2B&PID_3C4D"));
    ASSERT_TRUE(CreateTestDevice("USB\\VID_1A2B&PID_9999"));
    ASSERT_EQ(1, CountTestDevices("USB\\VID_1A2B&PID_3C4D"));
    RemoveUsbDevice("", 0x1A2B, 0x3C4D);
    EXPECT_EQ(0, CountTestDevices("USB\\VID_1A2B&PID_3C4D"));
    EXPECT_EQ(1, CountTestDevices("USB\\VID_1A2B&PID_9999"));  // another product stays
    RemoveUsbDevice("USB\\VID_1A2B&PID_9999", 0, 0);
    EXPECT_EQ(0, CountTestDevices("USB\\VID_1A2B&PID_9999"));
}

TEST_F(SerialUsbDevice, UnmatchedHardwareIdFallsBackToVendorAndProduct)
{
    ASSERT_TRUE(CreateTestDevice("USB\\VID_0ACE&PID_0042"));
    RemoveUsbDevice("USBPRINT\\NOSUCHPRINTER", 0x0ACE, 0x0042);
    EXPECT_EQ(0, CountTestDevices("USB\\VID_0ACE&PID_0042"));
}

TEST_F(SerialUsbDevice, PrinterClassNodeIsRemovedByItsOwnId)
{
    ASSERT_TRUE(CreateTestDevice("USBPRINT\\VANTOCORVEL4410"));
    ASSERT_TRUE(CreateTestDevice("USBPRINT\\OTHERMAKER"));
    RemoveUsbDevice("USBPRINT\\VANTOCORVEL4410", 0, 0);
    EXPECT_EQ(0, CountTestDevices("USBPRINT\\VANTOCORVEL4410"));
    EXPECT_EQ(1, CountTestDevices("USBPRINT\\OTHERMAKER"));
}
