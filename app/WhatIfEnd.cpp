#include "WhatIfEnd.h"

#include <windows.h>

#include "EventLog.h"
#include "MainDlg.h"
#include "SilentRun.h"
#include "UserMessage.h"
#include "WhatIfReport.h"
#include "Wow64HandOver.h"
#include "resource.h"

namespace {

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(name);
    return GetComputerNameA(name, &size) ? name : "";
}

std::string PrintersTaken(const UninstallDatabase& database)
{
    std::string names;
    for (const InstalledPrinter& printer : database.printers) {
        if (printer.removed == 1)
            names += (names.empty() ? "" : ",") + std::string(printer.name);
    }
    return names;
}

std::string DoneText(StringLoader& strings, const WhatIfRecord& record, const std::string& path)
{
    std::string text = ReplaceFirstPlaceholder(strings.GetString(IDS_WHATIF_DONE), path.c_str());
    for (LookResult result :
         {LookResult::kFound, LookResult::kAtNextRestart, LookResult::kNotFound, LookResult::kRefused})
        text = ReplaceFirstPlaceholder(text.c_str(), std::to_string(record.Count(result)).c_str());
    return ReplaceFirstPlaceholder(text.c_str(), std::to_string(record.Staying().size()).c_str());
}

}  // namespace

void ReportUnwritableWhatIf(const std::string& path, unsigned long error)
{
    LogEvent("WhatIfReport", path.c_str(), error);
    StringLoader strings(GetModuleHandleA(nullptr));
    const std::string caption = strings.GetString(IDS_CAPTION);
    const std::string text = ReplaceFirstPlaceholder(strings.GetString(IDS_WHATIF_NOT_WRITTEN), path.c_str());
    ShowMessageBox(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

int FinishWhatIf(CMainDlg& main, const WhatIfRecord& record, const std::string& path, const std::string& windows,
                 int exitCode)
{
    const bool ran = main.removePage.removal.step >= RemovalSequence::kFinalStep;
    if (IsSilentRun() && ran && exitCode != SILENT_EXIT_FATAL && !AnythingToRemove(record))
        exitCode = SILENT_EXIT_NOTHING_FOUND;
    WhatIfSummary summary;
    summary.computer = ComputerName();
    summary.windows = windows;
    // A 32-bit program under WOW64 sees the 32-bit view; the 64-bit one names
    // the view of each target.
    summary.registryView = RunningUnderWow64() ? "32-bit" : "native";
    summary.printers = PrintersTaken(main.database);
    summary.restartNeeded = main.database.restartNeeded != 0;
    summary.exitCode = exitCode;
    if (!WriteWhatIfReport(path.c_str(), WhatIfReportText(record, summary))) {
        ReportUnwritableWhatIf(path, GetLastError());
        return IsSilentRun() ? static_cast<int>(SILENT_EXIT_FATAL) : exitCode;
    }
    LogEvent("WhatIfReport", path.c_str(), ERROR_SUCCESS);
    if (ran) {
        StringLoader strings(GetModuleHandleA(nullptr));
        const std::string caption = strings.GetString(IDS_CAPTION);
        const std::string text = DoneText(strings, record, path);
        ShowMessageBox(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    }
    return exitCode;
}
