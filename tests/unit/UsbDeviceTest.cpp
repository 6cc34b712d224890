#include <gtest/gtest.h>

#include <windows.h>
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>

#include <cstring>
#include <string>

#include "HardwareIdMatch.h"
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

bool CreateDevice(const char* hardwareId)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PRINTER, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    std::string ids = std::string(hardwareId) + '\0' + '\0';
    const bool ok = SetupDiCreateDeviceInfoA(set, "TRELUNTEST", &GUID_DEVCLASS_PRINTER, nullptr, nullptr,
                                             DICD_GENERATE_ID, &device) &&
                    SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                                      reinterpret_cast<const BYTE*>(ids.data()),
                                                      static_cast<DWORD>(ids.size())) &&
                    SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

int CountDevices(const char* hardwareId)
{
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        char ids[514] = {};
        if (SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr, reinterpret_cast<BYTE*>(ids),
                                              512, nullptr) &&
            _stricmp(ids, hardwareId) == 0)
            ++count;
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}

// Removes every device whose first hardware id is exactly this one.
void RemoveDevicesNamed(const char* hardwareId)
{
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        char ids[514] = {};
        if (SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr, reinterpret_cast<BYTE*>(ids),
                                              512, nullptr) &&
            _stricmp(ids, hardwareId) == 0)
            SetupDiRemoveDevice(set, &device);
    }
    SetupDiDestroyDeviceInfoList(set);
}

const char* const kTestIds[] = {"USB\\VID_1A2B&PID_3C4D", "USB\\VID_1A2B&PID_9999", "USB\\VID_0ACE&PID_0042",
                                "USBPRINT\\VANTOCORVEL4410", "USBPRINT\\OTHERMAKER"};

// Serial: the tests make and remove devices of the one device list of the prefix.
class SerialUsbDevice : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        for (const char* id : kTestIds)
            RemoveDevicesNamed(id);
    }
};

}  // namespace

TEST_F(SerialUsbDevice, RemovesTheUsbNodeByVendorAndProduct)
{
    ASSERT_TRUE(CreateDevice("USB\\VID_1A2B&PID_3C4D"));
    ASSERT_TRUE(CreateDevice("USB\\VID_1A2B&PID_9999"));
    ASSERT_EQ(1, CountDevices("USB\\VID_1A2B&PID_3C4D"));
    RemoveUsbDevice("", 0x1A2B, 0x3C4D);
    EXPECT_EQ(0, CountDevices("USB\\VID_1A2B&PID_3C4D"));
    EXPECT_EQ(1, CountDevices("USB\\VID_1A2B&PID_9999"));  // another product stays
    RemoveUsbDevice("USB\\VID_1A2B&PID_9999", 0, 0);
    EXPECT_EQ(0, CountDevices("USB\\VID_1A2B&PID_9999"));
}

TEST_F(SerialUsbDevice, UnmatchedHardwareIdFallsBackToVendorAndProduct)
{
    ASSERT_TRUE(CreateDevice("USB\\VID_0ACE&PID_0042"));
    RemoveUsbDevice("USBPRINT\\NOSUCHPRINTER", 0x0ACE, 0x0042);
    EXPECT_EQ(0, CountDevices("USB\\VID_0ACE&PID_0042"));
}

TEST_F(SerialUsbDevice, PrinterClassNodeIsRemovedByItsOwnId)
{
    ASSERT_TRUE(CreateDevice("USBPRINT\\VANTOCORVEL4410"));
    ASSERT_TRUE(CreateDevice("USBPRINT\\OTHERMAKER"));
    RemoveUsbDevice("USBPRINT\\VANTOCORVEL4410", 0, 0);
    EXPECT_EQ(0, CountDevices("USBPRINT\\VANTOCORVEL4410"));
    EXPECT_EQ(1, CountDevices("USBPRINT\\OTHERMAKER"));
}
