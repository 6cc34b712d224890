#include "RemovalSequence.h"

#include <algorithm>

#include "DirectoryPaths.h"
#include "EventLog.h"
#include "LookOnly.h"
#include "MatchingFiles.h"
#include "RemovalProfileBuild.h"
#include "SpoolerCalls.h"
#include "StayReasons.h"
#include "SystemChecks.h"
#include "UninstallDatabase.h"
#include "UninstallProfileLog.h"

namespace {

void AddResolved(std::vector<std::string>& list, int id)
{
    FileSpec spec;
    spec.Resolve(id);
    std::string path = spec.DirectoryPath();
    if (path.size() >= 2) {
        Sleep(100);
        spec.Resolve(id);
        path = spec.DirectoryPath();
    }
    // An unresolved directory would turn into the current directory.
    if (path.size() >= 3)
        list.push_back(path);
}

void SortUnique(std::vector<std::string>& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    list.erase(std::unique(list.begin(), list.end(),
                           [](const std::string& a, const std::string& b) { return TextEquals(a.c_str(), b.c_str()); }),
               list.end());
}

// What a sequence without a page shows: nothing.
class HiddenView : public RemovalView {};
HiddenView g_hiddenView;

void StartSpoolerLogged()
{
    LogEvent("StartSpooler", "Spooler", StartSpoolerWhenStopped() ? ERROR_SUCCESS : ERROR_SERVICE_NOT_ACTIVE);
}

}  // namespace

// Each step's work, in the order the removal runs them.
const RemovalSequence::StepWork RemovalSequence::kSteps[kFinalStep + 1] = {
    &RemovalSequence::BuildRemovalProfileStep,  // 0
    &RemovalSequence::WaitForUtilityStep,       // 1
    &RemovalSequence::PrinterRowStep,           // 2
    &RemovalSequence::PrinterStep,              // 3
    &RemovalSequence::DriverStep,               // 4
    &RemovalSequence::MonitorStep,              // 5 (and the hooks)
    &RemovalSequence::PrintProcessorStep,       // 6
    &RemovalSequence::ServiceStep,              // 7
    &RemovalSequence::StopSpoolerStep,          // 8
    &RemovalSequence::OemPathStep,              // 9
    &RemovalSequence::ShortcutStep,             // 10
    &RemovalSequence::SkippedStep,              // 11
    &RemovalSequence::IniStep,                  // 12
    &RemovalSequence::StartupStep,              // 13
    &RemovalSequence::FileStep,                 // 14
    &RemovalSequence::RegistryStep,             // 15
    &RemovalSequence::StartSpoolerStep,         // 16
    &RemovalSequence::FinalStep,                // 17
};

DWORD RemovalSequence::tickWorkMs = kTickWorkMs;

RemovalSequence::RemovalSequence()
    : step(0), osInfo(), database(nullptr), view(&g_hiddenView), ownerWindow(nullptr), strings(nullptr),
      restartHelperWalk(false), spoolerStopped(false)
{
}

RemovalSequence::~RemovalSequence()
{
    if (spoolerStopped)
        StartSpoolerLogged();
}

void RemovalSequence::SetView(RemovalView* value) { view = value ? value : &g_hiddenView; }

void RemovalSequence::RunWholeStep(bool (RemovalSequence::*continueStep)(WorkBudget& budget))
{
    progress = StepProgress();
    WorkBudget unlimited(INFINITE);
    (this->*continueStep)(unlimited);
    progress = StepProgress();
}

RemovalSequence::StepEnd RemovalSequence::AdvanceRowWhen(bool complete)
{
    if (!complete)
        return StepEnd::kContinues;
    view->AdvanceRow();
    return StepEnd::kNext;
}

void RemovalSequence::BuildDirectoryLists()
{
    systemDirectories.clear();
    printerDirectories.clear();
    AddResolved(systemDirectories, DIR_SYSTEM);
    AddResolved(systemDirectories, DIR_WINDOWS);
    AddResolved(systemDirectories, DIR_COLOR);
    AddResolved(printerDirectories, DIR_PRINTER_DRIVER);
    AddResolved(printerDirectories, DIR_PRINT_PROCESSOR);
    AddResolved(printerDirectories, DIR_INF);
    if (osInfo.IsNT()) {
        AddResolved(printerDirectories, DIR_PRINTER_DRIVER_W40);
        AddResolved(printerDirectories, DIR_PRINT_PROCESSOR_W40);
    }
    // The 64-bit program also looks where the package put its 32-bit files.
    if (sizeof(void*) == 8) {
        AddResolved(systemDirectories, DIR_SYSTEM_WOW64);
        AddResolved(printerDirectories, DIR_PRINTER_DRIVER_X86);
        AddResolved(printerDirectories, DIR_PRINT_PROCESSOR_X86);
    }
    SortUnique(systemDirectories);
    SortUnique(printerDirectories);
}

void RemovalSequence::Begin()
{
    BuildDirectoryLists();
    step = 0;
}

RemovalSequence::Tick RemovalSequence::RunTick(WorkBudget& budget)
{
    if (step < 0 || step > kFinalStep)
        return Tick::kEnded;
    const int running = step;
    if (WhatIfRecord* look = LookOnlyRecord())
        look->SetStep(running);
    const StepEnd end = (this->*kSteps[running])(budget);
    if (end == StepEnd::kContinues)
        return Tick::kContinues;
    progress = StepProgress();
    if (end == StepEnd::kNext)
        ++step;
    return running == kFinalStep ? Tick::kEnded : Tick::kStepDone;
}

bool RemovalSequence::ContinueRemovalProfile(WorkBudget& budget)
{
    if (!database)
        return true;
    if (!removalProfileBuild)
        removalProfileBuild.reset(new RemovalProfileBuild(*database));
    if (!removalProfileBuild->Continue(budget))
        return false;
    removalProfileBuild.reset();
    // The printers Pelled to a chosen one go with it.
    database->ApplyLinkRule();
    return true;
}

RemovalSequence::StepEnd RemovalSequence::BuildRemovalProfileStep(WorkBudget& budget)
{
    if (!removalProfileBuild) {
        view->MarkRow(0);
        view->ShowBusy();
    }
    if (!ContinueRemovalProfile(budget))
        return StepEnd::kContinues;
    if (database)
        LogProfileSizes("RemovalProfile", database->removalProfile);
    if (WhatIfRecord* look = LookOnlyRecord()) {
        if (database)
            NoteWhatStays(*database, *look);
    }
    ++step;
    view->MarkRow(1);
    return StepEnd::kStays;
}

RemovalSequence::StepEnd RemovalSequence::WaitForUtilityStep(WorkBudget&)
{
    view->MarkRow(1);
    if (!database || database->utilityNotTargeted)
        return StepEnd::kNext;
    if (LookOnlyRecord()) {
        utility.LookAtStart();
        return StepEnd::kNext;
    }
    return utility.Busy(osInfo) ? StepEnd::kStays : StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::PrinterRowStep(WorkBudget&)
{
    view->MarkRow(2);
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::PrinterStep(WorkBudget& budget)
{
    view->HoldRow(2);
    if (!ContinuePrinterStep(budget))
        return StepEnd::kContinues;
    view->MarkRow(3);
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::DriverStep(WorkBudget& budget)
{
    return AdvanceRowWhen(ContinueDriverStep(budget));
}

RemovalSequence::StepEnd RemovalSequence::MonitorStep(WorkBudget& budget)
{
    return AdvanceRowWhen(ContinueMonitorStep(budget));
}

RemovalSequence::StepEnd RemovalSequence::PrintProcessorStep(WorkBudget&)
{
    for (const char* environment : kSpoolerEnvironments)
        removePrintProcessors(nullptr, environment);
    return AdvanceRowWhen(true);
}

RemovalSequence::StepEnd RemovalSequence::ServiceStep(WorkBudget&)
{
    removeServices();
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::StopSpoolerStep(WorkBudget&)
{
    CollectDriverFiles();
    WhatIfRecord* look = LookOnlyRecord();
    if (osInfo.IsWin9x()) {
        if (osInfo.GetVersionKind() == OSVER_WIN95) {
            if (look)
                look->Note("CloseSpooler", "Spooler", LookResult::kFound);
            else
                CloseWin95Spooler();
        }
        if (database)
            database->restartNeeded = 1;
    } else if (osInfo.IsNT()) {
        if (look)
            look->Note("StopSpooler", "Spooler", LookResult::kFound);
        else
            spoolerStopped = StopSpooler() == 1;
    }
    return AdvanceRowWhen(true);
}

RemovalSequence::StepEnd RemovalSequence::OemPathStep(WorkBudget&)
{
    collectOemPaths();
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::ShortcutStep(WorkBudget& budget)
{
    if (!ContinueShortcutStep(budget))
        return StepEnd::kContinues;
    view->BringToFront();
    return StepEnd::kNext;
}

// Step 11 has no work of its own.
RemovalSequence::StepEnd RemovalSequence::SkippedStep(WorkBudget&)
{
    step = 12;
    return StepEnd::kStays;
}

RemovalSequence::StepEnd RemovalSequence::IniStep(WorkBudget&)
{
    removeIniEntries();
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::StartupStep(WorkBudget&)
{
    removeStartupEntries();
    return AdvanceRowWhen(true);
}

RemovalSequence::StepEnd RemovalSequence::FileStep(WorkBudget&)
{
    return ContinueFileStep(tickWorkMs) ? StepEnd::kNext : StepEnd::kContinues;
}

RemovalSequence::StepEnd RemovalSequence::RegistryStep(WorkBudget&)
{
    applyRegistryLines();
    return AdvanceRowWhen(true);
}

RemovalSequence::StepEnd RemovalSequence::StartSpoolerStep(WorkBudget&)
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        if (osInfo.IsNT())
            look->Note("StartSpooler", "Spooler", LookResult::kFound);
    } else if (osInfo.IsNT()) {
        StartSpoolerLogged();
    }
    spoolerStopped = false;
    return StepEnd::kNext;
}

RemovalSequence::StepEnd RemovalSequence::FinalStep(WorkBudget&)
{
    view->Finished();
    return StepEnd::kStays;
}
