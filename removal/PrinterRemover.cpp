// Step 3: the chosen printers with their jobs, and what the spooler leaves
// of them in the registry.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "DefaultPrinter.h"
#include "EventLog.h"
#include "DirectoryPaths.h"
#include "KeyName.h"
#include "LookOnly.h"
#include "RegistryTree.h"
#include "RemovalSequence.h"
#include "SpoolerCalls.h"
#include "UninstallDatabase.h"
#include "UninstallProfileLog.h"
#include "UniqueHandle.h"
#include "UsbDevice.h"
#include "UserMessage.h"
#include "Win32Result.h"
#include "resource.h"

namespace {

const char kPrintersKey9x[] = "System\\CurrentControlSet\\control\\Print\\Printers\\";
const char* const kPerUserKeysNT[] = {
    "Printers\\DevModes2",
    "Printers\\Settings",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
};

bool ReadUniqueId(const COSInfo& os, HANDLE printer, const char* printerName, char (&id)[33])
{
    std::memset(id, 0, sizeof(id));
    if (os.IsWin9x()) {
        const std::string path = std::string(kPrintersKey9x) + printerName + "\\PrinterDriverData";
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
            return false;
        DWORD size = 32;
        const bool ok =
            RegQueryValueExA(key.Get(), "UniqueID", nullptr, nullptr, reinterpret_cast<BYTE*>(id), &size) == ERROR_SUCCESS;
        return ok;
    }
    DWORD type = 0;
    DWORD needed = 0;
    return GetPrinterDataA(printer, const_cast<char*>("UniqueID"), &type, reinterpret_cast<BYTE*>(id), 32,
                           &needed) == ERROR_SUCCESS;
}

// The look of RemoveClassKeys: each subkey as far as one would stay.
void LookAtClassKeys(const char* id)
{
    std::vector<std::string> subkeys;
    {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, id, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS) {
            char subkey[257];
            for (DWORD index = 0; RegEnumKeyA(key.Get(), index, subkey, sizeof(subkey)) == ERROR_SUCCESS; ++index)
                subkeys.push_back(std::string(id) + "\\" + subkey);
        }
    }
    for (const std::string& subkey : subkeys) {
        if (DeleteRegistryKeyWithoutSubkeys(HKEY_CLASSES_ROOT, subkey.c_str()) == ERROR_ACCESS_DENIED)
            break;
    }
    DeleteRegistryKeyWithoutSubkeys(HKEY_CLASSES_ROOT, id);
}

void RemoveClassKeys(const char* id)
{
    if (!IsSingleKeyName(id))
        return;
    if (LookOnlyRecord()) {
        LookAtClassKeys(id);
        return;
    }
    {
        RegistryKey key;
        if (RegOpenKeyA(HKEY_CLASSES_ROOT, id, key.Receive()) == ERROR_SUCCESS && key.Valid()) {
            char subkey[257];
            // Stop at the first subkey that cannot go: it would come back at
            // index 0 for ever.
            while (RegEnumKeyA(key.Get(), 0, subkey, sizeof(subkey)) == ERROR_SUCCESS) {
                if (RegDeleteKeyA(key.Get(), subkey) != ERROR_SUCCESS)
                    break;
            }
        }
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, id);
}

// The node the master script names is the package's, not one printer's:
// it goes once a printer of the package went and none that stays may
// print through a USB port.
void RemoveUsbDeviceOfPackage(const PrinterList& printers)
{
    bool anyGone = false;
    for (const InstalledPrinter& printer : printers) {
        if (printer.foreign)
            continue;
        // Kept, or chosen but still there.
        const bool stays = printer.removed == 0;
        if (stays && printer.MayUseUsbPort())
            return;
        anyGone = anyGone || (!stays && printer.serverName[0] == '\0');
    }
    if (!anyGone)
        return;
    if (masterScriptBesideProgram[0] == '\0')
        SetMasterScriptBesideProgram();
    char hardwareId[257] = {};
    GetPrivateProfileStringA("Strings", "HARDWARE_ID_1", "", hardwareId, sizeof(hardwareId),
                             masterScriptBesideProgram);
    const UINT productId = GetPrivateProfileIntA("Strings", "USB_PID", 0, masterScriptBesideProgram);
    const UINT vendorId = GetPrivateProfileIntA("Strings", "USB_VID", 0, masterScriptBesideProgram);
    if (hardwareId[0] && productId && vendorId)
        RemoveUsbDevice(hardwareId, vendorId, productId);
}

void DeletePerUserValues(const char* printerName)
{
    for (const char* path : kPerUserKeysNT) {
        DeleteRegistryValue(HKEY_CURRENT_USER, path, printerName);
    }
}

BOOL LookAtPrinterDeletion(WhatIfRecord& look, const char* action, const char* name)
{
    look.Note(action, name, LookResult::kFound);
    look.MarkGone(GonePrinter(name));
    return TRUE;
}

void QueueRegistryLine(UninstallDatabase& database, const std::string& line)
{
    if (line.size() < kTextField)
        database.removalProfile.registryKeys.push_back(line);
}

}  // namespace

int RemovalSequence::setDefaultPrinter(char (&printerName)[kTextField]) { return MakeDefaultPrinter(osInfo, printerName); }

void RemovalSequence::removePrinters() { RunWholeStep(&RemovalSequence::ContinuePrinterStep); }

bool RemovalSequence::ContinuePrinterStep(WorkBudget& budget)
{
    if (!database)
        return true;
    if (!progress.started) {
        progress.started = true;
        progress.plannedLines = database->removalProfile.registryKeys.size();
    }
    // The list's records stay in place while the step runs: each tick
    // finds its place again by position.
    std::vector<InstalledPrinter*> printers;
    for (InstalledPrinter& printer : database->printers)
        printers.push_back(&printer);
    if (!RunItems(printers.size(), budget, [&](std::size_t index) { RemovePrinter(*printers[index]); }))
        return false;
    RemoveUsbDeviceOfPackage(database->printers);
    KeepPrintersStillInstalled();
    if (progress.defaultRemoved)
        AnnounceDefaultPrinter();
    return true;
}

void RemovalSequence::RemovePrinter(InstalledPrinter& printer)
{
    PRINTER_DEFAULTSA defaults = {};
    defaults.DesiredAccess = PRINTER_ALL_ACCESS;
    if (printer.name[0] == '\0')
        return;  // not a printer
    // A printer an earlier pass removed is gone: it cannot take over.
    if (printer.removed == 1)
        return;
    if (printer.excluded == 1 || printer.foreign == 1) {
        CopyText(progress.remainingPrinter, printer.name);
        return;
    }
    WhatIfRecord* look = LookOnlyRecord();
    if (printer.serverName[0]) {
        const BOOL deleted = look ? LookAtPrinterDeletion(*look, "DeletePrinterConnection", printer.name)
                                  : DeletePrinterConnectionA(printer.name);
        LogEvent("DeletePrinterConnection", printer.name, Win32Result(deleted));
        if (deleted) {
            if (printer.isDefault == 1)
                progress.defaultRemoved = true;
            printer.removed = 1;
        }
        return;
    }
    PrinterHandle handle;
    if (!OpenPrinterA(printer.name, handle.Receive(), &defaults)) {
        const DWORD error = GetLastError();
        LogEvent("OpenPrinter", printer.name, error);
        // Any other failure leaves a printer that is still there.
        if (error != ERROR_INVALID_PRINTER_NAME)
            return;
        printer.removed = 1;
    } else if (handle.Valid()) {
        CancelAndDeleteJobs(handle.Get());
        char uniqueId[33];
        if (ReadUniqueId(osInfo, handle.Get(), printer.name, uniqueId))
            RemoveClassKeys(uniqueId);
        const BOOL deleted =
            look ? LookAtPrinterDeletion(*look, "DeletePrinter", printer.name) : DeletePrinter(handle.Get());
        LogEvent("DeletePrinter", printer.name, Win32Result(deleted));
        if (deleted) {
            if (printer.isDefault == 1)
                progress.defaultRemoved = true;
            printer.removed = 1;
        }
        // The spooler finishes the deletion once the last handle is closed.
        handle.Reset();
        if (!deleted)
            return;
    }
    // A name that is not one key name would make the lines below name
    // a parent key or another printer's.
    if (!IsSingleKeyName(printer.name) || !FitsRegistryLine(printer.name))
        return;
    if (osInfo.IsNT())
        DeletePerUserValues(printer.name);
    if (osInfo.IsWin9x()) {
        QueueRegistryLine(*database, std::string("HKLM,\"") + kPrintersKey9x + printer.name +
                                         "\\PrinterDriverData,\"\"");
        QueueRegistryLine(*database, std::string("HKLM,\"") + kPrintersKey9x + printer.name + ",\"\"");
    }
    QueueRegistryLine(*database, std::string("HKCU,\"SOFTWARE\\VANTO\\") + printer.name + ",\"\"");
}

// A chosen printer the spooler would not open or delete is still there:
// what it needs stays, as for a printer the user kept. The lines the step
// queued for the printers that went are kept across the new build.
void RemovalSequence::KeepPrintersStillInstalled()
{
    bool anyStays = false;
    for (InstalledPrinter& printer : database->printers) {
        if (!printer.foreign && printer.excluded == 0 && printer.removed == 0) {
            printer.excluded = 1;
            anyStays = true;
        }
    }
    if (!anyStays)
        return;
    TextList& lines = database->removalProfile.registryKeys;
    const TextList queued(lines.begin() + std::min(progress.plannedLines, lines.size()), lines.end());
    database->BuildRemovalProfile();
    lines.insert(lines.end(), queued.begin(), queued.end());
    LogProfileSizes("RemovalProfileAfterPrinters", database->removalProfile);
}

void RemovalSequence::AnnounceDefaultPrinter()
{
    // A what-if run asks nothing and shows its outcome in the report.
    const bool quiet = LookOnlyRecord() != nullptr;
    const char* remainingPrinter = progress.remainingPrinter;
    const std::string caption = strings.GetString(IDS_CAPTION);
    if (remainingPrinter[0] == '\0') {
        const std::string text = strings.GetString(IDS_DEFAULT_REMOVED_NONE);
        if (!quiet)
            ShowMessageBox(ownerWindow, text.c_str(), caption.c_str(), MB_OK);
        return;
    }
    if (setDefaultPrinter(progress.remainingPrinter)) {
        for (InstalledPrinter& printer : database->printers)
            printer.isDefault = TextEquals(printer.name, remainingPrinter) ? 1 : 0;
    }
    // The text may come from an INI file: never use it as a format.
    const std::string text = ReplaceFirstPlaceholder(strings.GetString(IDS_DEFAULT_REMOVED_NEW), remainingPrinter);
    if (!quiet)
        ShowMessageBox(ownerWindow, text.c_str(), caption.c_str(), MB_OK);
}
