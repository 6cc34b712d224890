#include "PrinterEnumeration.h"

#include <winspool.h>

#include <algorithm>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "EventLog.h"
#include "SpoolerCalls.h"
#include "SwitchFilter.h"
#include "TextUtil.h"
#include "UserMessage.h"
#include "resource.h"

namespace {

const DWORD kSpoolerUnavailable = 1722;  // RPC_S_SERVER_UNAVAILABLE

struct Level {
    DWORD number;
    DWORD entrySize;
};

Level LevelFor(const COSInfo& os)
{
    if (os.IsNT())
        return Level{4, sizeof(PRINTER_INFO_4A)};
    if (os.IsWin9x())
        return Level{5, sizeof(PRINTER_INFO_5A)};
    return Level{2, sizeof(PRINTER_INFO_2A)};
}

const char* EntryPrinterName(const BYTE* entry, DWORD level)
{
    switch (level) {
    case 4: return reinterpret_cast<const PRINTER_INFO_4A*>(entry)->pPrinterName;
    case 5: return reinterpret_cast<const PRINTER_INFO_5A*>(entry)->pPrinterName;
    default: return reinterpret_cast<const PRINTER_INFO_2A*>(entry)->pPrinterName;
    }
}

// The default printer's name from WIN.INI "device" (before its first comma).
std::string WinIniDefaultPrinter()
{
    char device[256] = {};
    GetProfileStringA("windows", "device", "", device, sizeof(device));
    std::string name = device;
    return name.substr(0, name.find(','));
}

std::string FoldedName(const char* name)
{
    std::string folded = name;
    for (char& c : folded)
        c = FoldChar(c);
    return folded;
}

std::vector<BYTE> AllocateOrThrow(DWORD size)
{
    try {
        return std::vector<BYTE>(size);
    } catch (const std::bad_alloc&) {
        throw QuickExceptionInfo{GetLastError(), "_alloca", "FAILED to ALLOCA!!!", "Bytes needed",
                                 static_cast<long>(size), nullptr, 0};
    }
}

// A printer whose level-2 data the spooler does not give: it cannot be
// offered, and removing what it needs would break it, so it stays, with
// the driver the spooler names for it when it names one.
void RecordAsStaying(InstalledPrinter& record, HANDLE printer, const char* name)
{
    TraceText("PrinterUnreadable", (std::string("level 2 unreadable, printer stays: ") + name).c_str());
    record.SetName(name);
    record.excluded = 1;
    record.listed = 0;
    record.unreadable = 1;
    DWORD needed = 0;
    GetPrinterDriverA(printer, nullptr, 1, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_1A))
        return;
    std::vector<BYTE> driver = AllocateOrThrow(needed);
    if (GetPrinterDriverA(printer, nullptr, 1, driver.data(), needed, &needed))
        record.SetDriverName(reinterpret_cast<const DRIVER_INFO_1A*>(driver.data())->pName);
}

}  // namespace

std::string DescribeFailure(const QuickExceptionInfo& failure)
{
    char text[256];
    FormatText(text, sizeof(text), "%s \n%s%s \n%s%i \n%s%s \n%s: %i \n%s: %i",
                  "CLoadingDlg::BuildListOfInstalledPrinters failed", "Function: ", failure.functionName,
                  "Last Error Code: ", static_cast<int>(failure.lastError), "Desc: ", failure.description,
                  failure.label1, static_cast<int>(failure.value1), failure.label2 ? failure.label2 : "(null)",
                  static_cast<int>(failure.value2));
    return text;
}

int BuildListOfInstalledPrinters(PrinterList& printers, const COSInfo& os, const CommandLineSwitches& switches,
                                 HWND loadingDialog, StringLoader& strings)
{
    PrinterEnumeration enumeration(printers, os, switches, loadingDialog, strings);
    WorkBudget unlimited(INFINITE);
    enumeration.Continue(unlimited);
    return enumeration.Result();
}

PrinterEnumeration::PrinterEnumeration(PrinterList& printers, const COSInfo& os, const CommandLineSwitches& switches,
                                       HWND loadingDialog, StringLoader& strings)
    : printers(printers), os(os), switches(switches), loadingDialog(loadingDialog), strings(strings), entries(),
      info(), recorded(), defaultName(), computer{}, usable(0), next(0), count(0), started(false), ended(false)
{
}

bool PrinterEnumeration::Continue(WorkBudget& budget)
{
    if (ended)
        return true;
    try {
        if (!started) {
            started = true;
            if (!Start())
                return End(0);
        }
        const Level level = LevelFor(os);
        while (next < usable) {
            const DWORD index = next++;
            RecordPrinter(EntryPrinterName(entries.data() + index * level.entrySize, level.number));
            if (next < usable && budget.Spent())
                return false;
        }
    } catch (const QuickExceptionInfo& failure) {
        TraceText("PrinterEnumerationFailed", DescribeFailure(failure).c_str());
        return End(0);
    }
    return End(count);
}

bool PrinterEnumeration::End(int result)
{
    ended = true;
    count = result;
    entries.clear();
    info.clear();
    return true;
}

bool PrinterEnumeration::Start()
{
    const Level level = LevelFor(os);
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0);
    EnumPrintersA(flags, nullptr, level.number, nullptr, 0, &needed, &returned);
    if (needed == 0) {
        if (GetLastError() == kSpoolerUnavailable) {
            const std::string text = strings.GetString(IDS_SPOOLER_NOT_RESPONDING);
            const std::string caption = strings.GetString(IDS_CAPTION);
            ShowMessageBox(loadingDialog, text.c_str(), caption.c_str(), MB_ICONERROR);
            if (loadingDialog)
                EndDialog(loadingDialog, 0);
        }
        return false;
    }
    entries = AllocateOrThrow(needed);
    if (!EnumPrintersA(flags, nullptr, level.number, entries.data(), needed, &needed, &returned))
        throw QuickExceptionInfo{GetLastError(), "EnumPrinters", "failed to enum printers", "Bytes needed",
                                 static_cast<long>(needed), "bytes returned", static_cast<long>(returned)};
    defaultName = WinIniDefaultPrinter();
    if (!os.IsWin32s()) {
        DWORD size = sizeof(computer);
        if (!GetComputerNameA(computer, &size))
            computer[0] = '\0';
    }
    // A returned count that does not fit the buffer is not believed.
    usable = returned <= needed / level.entrySize ? returned : needed / level.entrySize;
    // Names already in the list (also from an earlier pass), without case.
    for (const InstalledPrinter& printer : printers)
        recorded.insert(FoldedName(printer.name));
    return true;
}

void PrinterEnumeration::RecordPrinter(const char* name)
{
    if (!name)
        return;
    PRINTER_DEFAULTSA defaults = {};
    defaults.DesiredAccess = READ_CONTROL | PRINTER_ACCESS_USE;
    PrinterHandle handle;
    if (!OpenPrinterA(const_cast<char*>(name), handle.Receive(), &defaults) || !handle.Valid())
        return;
    HANDLE printer = handle.Get();
    InstalledPrinter record;
    char value[257] = {};
    DWORD type = 0;
    DWORD valueNeeded = 0;
    if (GetPrinterDataA(printer, const_cast<char*>("VantoDriver08"), &type, reinterpret_cast<BYTE*>(value), 256,
                        &valueNeeded) == ERROR_SUCCESS ||
        os.IsWin32s())
        record.isHalvaprint = 1;
    std::fill(value, value + sizeof(value), '\0');
    if (GetPrinterDataA(printer, const_cast<char*>("PellPrinter"), &type, reinterpret_cast<BYTE*>(value), 256,
                        &valueNeeded) == ERROR_SUCCESS)
        record.SetPelledName(value);

    DWORD infoNeeded = 0;
    // The first printer asks with no buffer, so the spooler tells the size;
    // the buffer is reused from printer to printer.
    bool have = GetPrinterA(printer, 2, info.empty() ? nullptr : info.data(), static_cast<DWORD>(info.size()),
                            &infoNeeded) != FALSE;
    if (!have && infoNeeded > 0) {
        info = AllocateOrThrow(infoNeeded);
        have = GetPrinterA(printer, 2, info.data(), static_cast<DWORD>(info.size()), &infoNeeded) != FALSE;
    }
    if (have) {
        const PRINTER_INFO_2A* data = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
        if ((data->Attributes & PRINTER_ATTRIBUTE_DEFAULT) || (data->pPrinterName && defaultName == data->pPrinterName))
            record.isDefault = 1;
        record.SetName(data->pPrinterName);
        record.SetDriverName(data->pDriverName);
        record.SetPortName(data->pPortName);
        if (!os.IsWin32s() && data->pServerName && data->pServerName[0] && !TextEquals(data->pServerName, computer))
            record.SetServerName(data->pServerName);
        ApplySwitchFilter(record, switches);
    } else {
        RecordAsStaying(record, printer, name);
    }
    if (record.isHalvaprint == 0 && record.pelledName[0] == '\0')
        record.foreign = 1;
    // The loading sequence runs a second time after a failure; a second
    // record of a printer would never get the user's choice (the selection
    // updates the first), and the printer would then be removed although it
    // was kept.
    if (recorded.insert(FoldedName(record.name)).second)
        printers.Append(record);
    ++count;
}
