// Print jobs of a printer: level-1 enumeration and job control commands.
#include <windows.h>
#include <winspool.h>

#include "PackedBuffer.h"
#include "PrinterHandles.h"
#include "SimCall.h"

using namespace spoolsim;

namespace {

std::string MachineName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    GetComputerNameA(name, &size);
    return std::string("\\\\") + name;
}

void WriteJob(PackedBuffer& packer, const Printer& printer, const Job& job, DWORD position,
              const std::string& machine, unsigned char* record)
{
    JOB_INFO_1A info = {};
    info.JobId = job.id;
    info.pPrinterName = packer.Text(printer.name);
    info.pMachineName = packer.Text(machine);
    info.pUserName = packer.Text(job.user);
    info.pDocument = packer.Text(job.document);
    info.pDatatype = packer.Text(printer.datatype);
    info.Status = job.status;
    info.Priority = 1;
    info.Position = position;
    Store(record, info);
}

std::string CommandName(DWORD command)
{
    switch (command) {
    case JOB_CONTROL_PAUSE: return "PAUSE";
    case JOB_CONTROL_RESUME: return "RESUME";
    case JOB_CONTROL_CANCEL: return "CANCEL";
    case JOB_CONTROL_RESTART: return "RESTART";
    case JOB_CONTROL_DELETE: return "DELETE";
    case JOB_CONTROL_SENT_TO_PRINTER: return "SENT_TO_PRINTER";
    case JOB_CONTROL_LAST_PAGE_EJECTED: return "LAST_PAGE_EJECTED";
    default: return std::to_string(command);
    }
}

}  // namespace

BOOL WINAPI EnumJobsA(HANDLE hPrinter, DWORD FirstJob, DWORD NoJobs, DWORD Level, LPBYTE pJob, DWORD cbBuf,
                      LPDWORD pcbNeeded, LPDWORD pcReturned)
{
    CallOutcome call;
    if (!pcbNeeded || !pcReturned)
        return call.Fail(RPC_X_NULL_REF_POINTER);
    *pcbNeeded = 0;
    *pcReturned = 0;
    Session session;
    const Printer* printer =
        PrinterToRead(call, session, hPrinter, Level == 1 ? sizeof(JOB_INFO_1A) : 0, pJob, cbBuf);
    if (!printer)
        return FALSE;

    const std::size_t total = printer->jobs.size();
    const std::size_t first = FirstJob < total ? FirstJob : total;
    const std::size_t count = NoJobs < total - first ? NoJobs : total - first;
    const std::string machine = MachineName();
    const DWORD packed = PackRecords(pJob, cbBuf, pcbNeeded, count, sizeof(JOB_INFO_1A),
                                     [&](PackedBuffer& packer, std::size_t i, unsigned char* record) {
                                         WriteJob(packer, *printer, printer->jobs[first + i],
                                                  static_cast<DWORD>(first + i + 1), machine, record);
                                     });
    if (packed != ERROR_SUCCESS)
        return call.Fail(packed);
    *pcReturned = static_cast<DWORD>(count);
    return TRUE;
}

BOOL WINAPI SetJobA(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD Command)
{
    (void)pJob;
    const OpenedPrinter* opened = FindPrinterHandle(hPrinter);
    JournalEntry journal("SetJobA");
    journal.Arg(opened ? opened->printerName : std::string("(invalid handle)")).Arg(JobId).Arg(Level);
    journal.Arg(CommandName(Command));
    if (!opened || opened->printerName.empty())
        return journal.Fail(ERROR_INVALID_HANDLE);
    if (Level != 0)
        return journal.Fail(ERROR_INVALID_LEVEL);
    Session session;
    if (!session.Loaded())
        return journal.Fail(ERROR_INVALID_DATA);
    Printer* printer = session.state().FindPrinter(opened->printerName.c_str());
    if (!printer)
        return journal.Fail(ERROR_INVALID_PRINTER_NAME);
    std::size_t index = 0;
    while (index < printer->jobs.size() && printer->jobs[index].id != JobId)
        ++index;
    if (index == printer->jobs.size())
        return journal.Fail(ERROR_INVALID_PARAMETER);
    Job& job = printer->jobs[index];
    switch (Command) {
    case JOB_CONTROL_PAUSE: job.status |= JOB_STATUS_PAUSED; break;
    case JOB_CONTROL_RESUME: job.status &= ~static_cast<DWORD>(JOB_STATUS_PAUSED); break;
    case JOB_CONTROL_CANCEL:
    case JOB_CONTROL_DELETE:
        printer->jobs.erase(printer->jobs.begin() + static_cast<std::ptrdiff_t>(index));
        break;
    case JOB_CONTROL_RESTART:
    case JOB_CONTROL_SENT_TO_PRINTER:
    case JOB_CONTROL_LAST_PAGE_EJECTED: break;
    default: return journal.Fail(ERROR_INVALID_PARAMETER);
    }
    session.state().DropIfDeleted(opened->printerName);
    session.Save();
    return journal.Succeed();
}
