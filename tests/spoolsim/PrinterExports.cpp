// Printers: enumeration, handles, level data, printer data, changes and deletion.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "PackedBuffer.h"
#include "PrinterHandles.h"
#include "PrinterRecords.h"
#include "SimCall.h"

using namespace spoolsim;

namespace {

DWORD GrantedAccess(const PRINTER_DEFAULTSA* defaults)
{
    const DWORD wanted = defaults ? defaults->DesiredAccess : 0;
    if (wanted == 0)
        return PRINTER_ACCESS_USE;
    DWORD granted = wanted & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL);
    if (wanted & GENERIC_READ) granted |= PRINTER_READ;
    if (wanted & GENERIC_WRITE) granted |= PRINTER_WRITE;
    if (wanted & GENERIC_EXECUTE) granted |= PRINTER_EXECUTE;
    if (wanted & GENERIC_ALL) granted |= PRINTER_ALL_ACCESS;
    return granted;
}

std::string HandleName(HANDLE handle)
{
    const OpenedPrinter* opened = FindPrinterHandle(handle);
    return opened ? opened->printerName : std::string("(invalid handle)");
}

// Local printers first, then connections, each in state order.
std::vector<const Printer*> Selected(const State& state, DWORD flags)
{
    const bool local = (flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME)) != 0;
    const bool connections = (flags & PRINTER_ENUM_CONNECTIONS) != 0;
    const bool byDefault = (flags & PRINTER_ENUM_DEFAULT) != 0;
    std::vector<const Printer*> chosen;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Printer& p : state.printers) {
            if (p.IsConnection() != (pass == 1))
                continue;
            const bool isDefault = (p.attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0;
            if ((pass == 0 && local) || (pass == 1 && connections) || (byDefault && isDefault))
                chosen.push_back(&p);
        }
    }
    return chosen;
}

bool DriverInstalled(const State& state, const std::string& name)
{
    const std::string local = LocalEnvironment(state);
    for (const Driver& d : state.drivers) {
        if (SameName(d.name, name.c_str()) && InEnvironment(state, d.environment, local))
            return true;
    }
    return false;
}

bool ProcessorInstalled(const State& state, const std::string& name)
{
    const std::string local = LocalEnvironment(state);
    for (const PrintProcessor& p : state.processors) {
        if (SameName(p.name, name.c_str()) && InEnvironment(state, p.environment, local))
            return true;
    }
    return false;
}

std::string Describe(const PRINTER_INFO_2A& info)
{
    char attributes[16];
    std::snprintf(attributes, sizeof(attributes), "0x%08lX", info.Attributes);
    return std::string("PrintProcessor=") + (info.pPrintProcessor ? info.pPrintProcessor : "(null)") +
           ";Datatype=" + (info.pDatatype ? info.pDatatype : "(null)") + ";Attributes=" + attributes;
}

// Level 2 changes. Fields that are null or unchanged are left alone; a new
// driver or print processor must be installed.
DWORD ApplyLevel2(State& state, Printer& printer, const PRINTER_INFO_2A& info)
{
    if (info.pDriverName && !SameName(printer.driver, info.pDriverName) && !DriverInstalled(state, info.pDriverName))
        return ERROR_UNKNOWN_PRINTER_DRIVER;
    if (info.pPrintProcessor && !SameName(printer.printProcessor, info.pPrintProcessor) &&
        !ProcessorInstalled(state, info.pPrintProcessor))
        return ERROR_UNKNOWN_PRINTPROCESSOR;
    if (info.pShareName) printer.share = info.pShareName;
    if (info.pPortName) printer.port = info.pPortName;
    if (info.pDriverName) printer.driver = info.pDriverName;
    if (info.pComment) printer.comment = info.pComment;
    if (info.pLocation) printer.location = info.pLocation;
    if (info.pPrintProcessor) printer.printProcessor = info.pPrintProcessor;
    if (info.pDatatype) printer.datatype = info.pDatatype;
    printer.attributes = info.Attributes;
    printer.priority = info.Priority;
    if (info.Attributes & PRINTER_ATTRIBUTE_DEFAULT) {
        for (Printer& other : state.printers) {
            if (&other != &printer)
                other.attributes &= ~static_cast<DWORD>(PRINTER_ATTRIBUTE_DEFAULT);
        }
    }
    return ERROR_SUCCESS;
}

DWORD ApplyCommand(Printer& printer, DWORD command, const BYTE* data)
{
    switch (command) {
    case 0: return ERROR_SUCCESS;
    case PRINTER_CONTROL_PAUSE: printer.status |= PRINTER_STATUS_PAUSED; return ERROR_SUCCESS;
    case PRINTER_CONTROL_RESUME: printer.status &= ~static_cast<DWORD>(PRINTER_STATUS_PAUSED); return ERROR_SUCCESS;
    case PRINTER_CONTROL_PURGE: printer.jobs.clear(); return ERROR_SUCCESS;
    case PRINTER_CONTROL_SET_STATUS:
        if (!data)
            return ERROR_INVALID_PARAMETER;
        std::memcpy(&printer.status, data, sizeof(DWORD));
        return ERROR_SUCCESS;
    default: return ERROR_INVALID_PRINTER_COMMAND;
    }
}

}  // namespace

BOOL WINAPI EnumPrintersA(DWORD Flags, LPSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf,
                          LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    CallOutcome call;
    if (!pcbNeeded || !pcReturned)
        return call.Fail(RPC_X_NULL_REF_POINTER);
    *pcbNeeded = 0;
    *pcReturned = 0;
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    const State& state = session.view();
    if (state.enumPrintersError)
        return call.Fail(state.enumPrintersError);
    const std::size_t recordSize = PrinterRecordSize(Level);
    if (recordSize == 0)
        return call.Fail(ERROR_INVALID_LEVEL);
    if (!pPrinterEnum && cbBuf)
        return call.Fail(ERROR_INVALID_USER_BUFFER);
    if ((Flags & PRINTER_ENUM_NAME) && Name && *Name)
        return call.Fail(ERROR_INVALID_NAME);

    const std::vector<const Printer*> printers = Selected(state, Flags);
    const DWORD packed = PackRecords(
        pPrinterEnum, cbBuf, pcbNeeded, printers.size(), recordSize,
        [&](PackedBuffer& packer, std::size_t i, unsigned char* record) {
            WritePrinterRecord(packer, *printers[i], Level, record);
        },
        state.enumPrintersDataError);
    if (packed != ERROR_SUCCESS)
        return call.Fail(packed);
    *pcReturned = static_cast<DWORD>(printers.size());
    return TRUE;
}

BOOL WINAPI OpenPrinterA(LPSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault)
{
    CallOutcome call;
    if (!phPrinter)
        return call.Fail(ERROR_INVALID_PARAMETER);
    *phPrinter = nullptr;
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    OpenedPrinter opened;
    opened.access = GrantedAccess(pDefault);
    if (pPrinterName && *pPrinterName) {
        const Printer* printer = session.view().FindPrinter(pPrinterName);
        if (!printer)
            return call.Fail(ERROR_INVALID_PRINTER_NAME);
        if (printer->openError)
            return call.Fail(printer->openError);
        opened.printerName = printer->name;
    }
    *phPrinter = AddPrinterHandle(opened);
    return TRUE;
}

BOOL WINAPI ClosePrinter(HANDLE hPrinter)
{
    CallOutcome call;
    return ClosePrinterHandle(hPrinter) ? TRUE : call.Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI GetPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded)
{
    CallOutcome call;
    if (!pcbNeeded)
        return call.Fail(RPC_X_NULL_REF_POINTER);
    const std::size_t recordSize = PrinterRecordSize(Level);
    Session session;
    const Printer* printer = PrinterToRead(call, session, hPrinter, recordSize, pPrinter, cbBuf);
    if (!printer)
        return FALSE;
    if (Level == 2 && printer->level2SizeError) {
        *pcbNeeded = 0;
        return call.Fail(printer->level2SizeError);
    }
    const DWORD packed = PackRecords(
        pPrinter, cbBuf, pcbNeeded, 1, recordSize,
        [&](PackedBuffer& packer, std::size_t, unsigned char* record) {
            WritePrinterRecord(packer, *printer, Level, record);
        },
        Level == 2 ? printer->level2Error : ERROR_SUCCESS);
    return packed == ERROR_SUCCESS ? TRUE : call.Fail(packed);
}

DWORD WINAPI GetPrinterDataA(HANDLE hPrinter, LPSTR pValueName, LPDWORD pType, LPBYTE pData, DWORD nSize,
                             LPDWORD pcbNeeded)
{
    CallOutcome call;
    if (!pcbNeeded)
        return RPC_X_NULL_REF_POINTER;
    const OpenedPrinter* opened = FindPrinterHandle(hPrinter);
    if (!opened || opened->printerName.empty())
        return ERROR_INVALID_HANDLE;
    Session session;
    if (!session.Loaded())
        return ERROR_INVALID_DATA;
    const Printer* printer = session.view().FindPrinter(opened->printerName.c_str());
    if (!printer)
        return ERROR_INVALID_PRINTER_NAME;
    const PrinterValue* value = printer->FindValue(pValueName);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    const DWORD size = static_cast<DWORD>(value->text.size() + 1);
    if (pType)
        *pType = REG_SZ;
    *pcbNeeded = size;
    if (!pData || nSize < size)
        return ERROR_MORE_DATA;
    std::memcpy(pData, value->text.c_str(), size);
    return ERROR_SUCCESS;
}

BOOL WINAPI SetPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command)
{
    JournalEntry journal("SetPrinterA");
    journal.Arg(HandleName(hPrinter)).Arg(Level).Arg(Command);
    const PRINTER_INFO_2A* info = Level == 2 ? reinterpret_cast<const PRINTER_INFO_2A*>(pPrinter) : nullptr;
    if (info)
        journal.Arg(Describe(*info));
    const OpenedPrinter* opened = FindPrinterHandle(hPrinter);
    if (!opened || opened->printerName.empty())
        return journal.Fail(ERROR_INVALID_HANDLE);
    if (!(opened->access & PRINTER_ACCESS_ADMINISTER))
        return journal.Fail(ERROR_ACCESS_DENIED);
    if (Level != 0 && Level != 2)
        return journal.Fail(ERROR_INVALID_LEVEL);
    if ((Level == 2 && !info) || (Level == 0 && Command == 0))
        return journal.Fail(ERROR_INVALID_PARAMETER);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    Printer* printer = session.state().FindPrinter(opened->printerName.c_str());
    if (!printer)
        return journal.Fail(ERROR_INVALID_PRINTER_NAME);
    if (printer->setError)
        return journal.Fail(printer->setError);
    const DWORD changed = info ? ApplyLevel2(session.state(), *printer, *info) : ERROR_SUCCESS;
    if (changed != ERROR_SUCCESS)
        return journal.Fail(changed);
    const DWORD commanded = ApplyCommand(*printer, Command, Level == 0 ? pPrinter : nullptr);
    if (commanded != ERROR_SUCCESS)
        return journal.Fail(commanded);
    session.state().DropIfDeleted(opened->printerName);
    session.Save();
    return journal.Succeed();
}

BOOL WINAPI DeletePrinter(HANDLE hPrinter)
{
    JournalEntry journal("DeletePrinter");
    journal.Arg(HandleName(hPrinter));
    const OpenedPrinter* opened = FindPrinterHandle(hPrinter);
    if (!opened || opened->printerName.empty())
        return journal.Fail(ERROR_INVALID_HANDLE);
    if (!(opened->access & DELETE))
        return journal.Fail(ERROR_ACCESS_DENIED);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    Printer* printer = session.state().FindPrinter(opened->printerName.c_str());
    if (!printer)
        return journal.Fail(ERROR_INVALID_PRINTER_NAME);
    if (printer->deleteError)
        return journal.Fail(printer->deleteError);
    // Like the spooler: a printer with queued jobs goes once they are gone.
    printer->pendingDeletion = true;
    session.state().DropIfDeleted(opened->printerName);
    session.Save();
    return journal.Succeed();
}

BOOL WINAPI DeletePrinterConnectionA(LPSTR pName)
{
    JournalEntry journal("DeletePrinterConnectionA");
    journal.Arg(pName);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    State& state = session.state();
    for (std::size_t i = 0; i < state.printers.size(); ++i) {
        const Printer& p = state.printers[i];
        if (!p.IsConnection() || !SameName(p.name, pName))
            continue;
        if (p.deleteError)
            return journal.Fail(p.deleteError);
        state.printers.erase(state.printers.begin() + static_cast<std::ptrdiff_t>(i));
        session.Save();
        return journal.Succeed();
    }
    return journal.Fail(ERROR_INVALID_PRINTER_NAME);
}
