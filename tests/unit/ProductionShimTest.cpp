// The production VSPOOL08.dll (beside the unit tests) against the system
// functions it stands for: same result, same last-error code, and each
// export a function of its own rather than a forwarder.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestPaths.h"

namespace {

const DWORD kMarker = 0xdeadbeef;

class ProductionShim : public ::testing::Test {
protected:
    void SetUp() override
    {
        shim = LoadLibraryA(BesideTests("VSPOOL08.dll").c_str());
        winspool = LoadLibraryA("winspool.drv");
        advapi = LoadLibraryA("advapi32.dll");
        ASSERT_NE(nullptr, shim);
        ASSERT_NE(nullptr, winspool);
        ASSERT_NE(nullptr, advapi);
    }
    void TearDown() override
    {
        for (HMODULE module : {shim, winspool, advapi})
            if (module)
                FreeLibrary(module);
    }
    template <typename Fn> Fn From(HMODULE module, const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    HMODULE shim = nullptr;
    HMODULE winspool = nullptr;
    HMODULE advapi = nullptr;
};

struct CallResult {
    long long result;
    DWORD error;
};

template <typename Call> CallResult Observe(Call call)
{
    SetLastError(kMarker);
    const long long result = call();
    return {result, GetLastError()};
}

TEST_F(ProductionShim, EveryExportIsItsOwnFunction)
{
    const char* spooler[] = {"EnumPrintersA", "OpenPrinterA", "GetPrinterA", "GetPrinterDataA", "ClosePrinter",
                             "SetPrinterA", "GetPrinterDriverA", "GetPrinterDriverDirectoryA",
                             "GetPrintProcessorDirectoryA", "EnumJobsA", "SetJobA", "DeletePrinter",
                             "DeletePrinterConnectionA", "EnumPrinterDriversA", "DeletePrinterDriverA",
                             "DeleteMonitorA", "EnumPrintProcessorsA", "DeletePrintProcessorA"};
    const char* registry[] = {"RegOpenKeyA",   "RegOpenKeyExA",   "RegCloseKey",      "RegEnumKeyA",     "RegDeleteKeyA",
                              "RegEnumValueA", "RegDeleteValueA", "RegQueryValueExA", "RegSetValueExA"};
    for (const char* name : spooler) {
        SCOPED_TRACE(name);
        FARPROC own = GetProcAddress(shim, name);
        ASSERT_NE(nullptr, own);
        EXPECT_NE(own, GetProcAddress(winspool, name));
    }
    for (const char* name : registry) {
        SCOPED_TRACE(name);
        FARPROC own = GetProcAddress(shim, name);
        ASSERT_NE(nullptr, own);
        EXPECT_NE(own, GetProcAddress(advapi, name));
    }
}

TEST_F(ProductionShim, InvalidPrinterHandleFailsAsTheSpoolerDoes)
{
    typedef BOOL(WINAPI * ClosePrinterFn)(HANDLE);
    typedef BOOL(WINAPI * GetPrinterFn)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    HANDLE invalid = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x4321));
    for (HMODULE module : {winspool, shim})
        ASSERT_NE(nullptr, From<ClosePrinterFn>(module, "ClosePrinter"));

    const CallResult systemClose = Observe([&] { return From<ClosePrinterFn>(winspool, "ClosePrinter")(invalid); });
    const CallResult shimClose = Observe([&] { return From<ClosePrinterFn>(shim, "ClosePrinter")(invalid); });
    EXPECT_EQ(FALSE, systemClose.result);
    EXPECT_EQ(ERROR_INVALID_HANDLE, systemClose.error);
    EXPECT_EQ(systemClose.result, shimClose.result);
    EXPECT_EQ(systemClose.error, shimClose.error);

    DWORD needed[2] = {kMarker, kMarker};
    const CallResult systemGet = Observe(
        [&] { return From<GetPrinterFn>(winspool, "GetPrinterA")(invalid, 2, nullptr, 0, &needed[0]); });
    const CallResult shimGet =
        Observe([&] { return From<GetPrinterFn>(shim, "GetPrinterA")(invalid, 2, nullptr, 0, &needed[1]); });
    EXPECT_EQ(FALSE, shimGet.result);
    EXPECT_EQ(systemGet.result, shimGet.result);
    EXPECT_EQ(systemGet.error, shimGet.error);
    EXPECT_EQ(needed[0], needed[1]);
}

TEST_F(ProductionShim, MissingRegistryKeyFailsAsTheRegistryDoes)
{
    typedef LONG(WINAPI * RegOpenKeyExFn)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
    typedef LONG(WINAPI * RegDeleteKeyFn)(HKEY, LPCSTR);
    const char missing[] = "Software\\trelun08-tests\\no such key";
    for (const char* name : {"RegOpenKeyExA", "RegDeleteKeyA"}) {
        ASSERT_NE(nullptr, GetProcAddress(shim, name));
        ASSERT_NE(nullptr, GetProcAddress(advapi, name));
    }

    HKEY opened[2] = {reinterpret_cast<HKEY>(1), reinterpret_cast<HKEY>(1)};
    const CallResult systemOpen = Observe(
        [&] { return From<RegOpenKeyExFn>(advapi, "RegOpenKeyExA")(HKEY_CURRENT_USER, missing, 0, KEY_READ, &opened[0]); });
    const CallResult shimOpen = Observe(
        [&] { return From<RegOpenKeyExFn>(shim, "RegOpenKeyExA")(HKEY_CURRENT_USER, missing, 0, KEY_READ, &opened[1]); });
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, shimOpen.result);
    EXPECT_EQ(systemOpen.result, shimOpen.result);
    EXPECT_EQ(systemOpen.error, shimOpen.error);

    const CallResult systemDelete =
        Observe([&] { return From<RegDeleteKeyFn>(advapi, "RegDeleteKeyA")(HKEY_CURRENT_USER, missing); });
    const CallResult shimDelete =
        Observe([&] { return From<RegDeleteKeyFn>(shim, "RegDeleteKeyA")(HKEY_CURRENT_USER, missing); });
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, shimDelete.result);
    EXPECT_EQ(systemDelete.result, shimDelete.result);
    EXPECT_EQ(systemDelete.error, shimDelete.error);
}

}  // namespace
