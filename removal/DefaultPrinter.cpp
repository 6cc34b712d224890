#include "DefaultPrinter.h"

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

#include "DirectoryPaths.h"
#include "LookOnly.h"
#include "SpoolerCalls.h"

namespace {

const DWORD kBroadcastTimeoutMs = 1000;

// Win32s names the driver file's base name in the "device" line.
std::string Win32sDriverPart(const char* printerName, const std::string& fallback)
{
    std::string part = fallback;
    PrinterHandle handle;
    if (!OpenPrinterA(const_cast<char*>(printerName), handle.Receive(), nullptr) || !handle.Valid())
        return part;
    HANDLE printer = handle.Get();
    DWORD needed = 0;
    GetPrinterDriverA(printer, nullptr, 2, nullptr, 0, &needed);
    if (needed > 0) {
        SpoolerBuffer buffer;
        buffer.Resize(needed);
        if (GetPrinterDriverA(printer, nullptr, 2, buffer.Data(), buffer.Size(), &needed)) {
            const DRIVER_INFO_2A* driver = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.Data());
            FileSpec file;
            if (driver->pDriverPath && file.Assign(driver->pDriverPath))
                part = file.baseName;
        }
    }
    return part;
}

void Broadcast(const COSInfo& os)
{
    DWORD_PTR ignored = 0;
    if (os.IsWin32s())
        SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, 0);
    else if (os.IsWin9x())
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("windows"), SMTO_NORMAL,
                            kBroadcastTimeoutMs, &ignored);
    else
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_NORMAL, kBroadcastTimeoutMs, &ignored);
}

}  // namespace

int MakeDefaultPrinter(const COSInfo& os, char (&printerName)[kTextField])
{
    if (printerName[0] == '\0') {
        std::vector<PrinterSummary> printers;
        if (EnumPrinterSummaries(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, printers) && !printers.empty() &&
            !CopyText(printerName, printers[0].name.c_str()))
            printerName[0] = '\0';
    }
    PRINTER_DEFAULTSA defaults = {};
    defaults.DesiredAccess = PRINTER_ALL_ACCESS;
    PrinterHandle handle;
    if (!OpenPrinterA(printerName, handle.Receive(), &defaults) || !handle.Valid())
        return 0;
    if (WhatIfRecord* look = LookOnlyRecord()) {
        look->Note("SetDefaultPrinter", printerName, LookResult::kFound);
        return 1;
    }

    HANDLE printer = handle.Get();
    int result = 0;
    SpoolerBuffer buffer;
    PRINTER_INFO_2A* info = ReadPrinterInfo2(printer, buffer);
    if (info) {
        info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
        SetPrinterA(printer, 2, reinterpret_cast<BYTE*>(info), 0);
        result = 1;
    }
    if (!os.IsWin9x()) {
        result = 0;
        // Without the printer's data there is no port for the line, and a
        // line without one would point applications at nothing.
        if (info) {
            std::string driverPart = info->pPrintProcessor ? info->pPrintProcessor : "";
            if (os.IsWin32s())
                driverPart = Win32sDriverPart(printerName, driverPart);
            else
                driverPart = "winspool";
            const std::string line =
                std::string(printerName) + "," + driverPart + "," + (info->pPortName ? info->pPortName : "");
            WriteProfileStringA("windows", "device", line.c_str());
            result = 1;
        }
    }
    Broadcast(os);
    return result;
}
