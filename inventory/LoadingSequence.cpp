#include "LoadingSequence.h"

#include <algorithm>

#include "EventLog.h"
#include "FullProfileBuild.h"
#include "IniDocument.h"
#include "LookOnly.h"
#include "PrinterEnumeration.h"
#include "ScriptSearch.h"
#include "SystemChecks.h"
#include "UninstallDatabase.h"
#include "WindowUtil.h"
#include "resource.h"

namespace {

int g_spoolerStopWait = 0;
int g_spoolerStartWait = 0;
int g_enumerationAttempts = 0;

// What a sequence without a dialog shows: nothing.
class HiddenView : public LoadingView {};
HiddenView g_hiddenView;

// Waits the first time for limit + 1 ticks, any later time for one.
bool StillWaiting(int& counter, int limit)
{
    if (counter < limit) {
        ++counter;
        return true;
    }
    return false;
}

void LogPrinters(const PrinterList& printers)
{
    if (!EventLogEnabled())
        return;
    for (const InstalledPrinter& printer : printers) {
        const std::string flags = std::string(printer.name) + " driver=" + printer.driverName +
                                  " server=" + printer.serverName + " pelled=" + printer.pelledName +
                                  " default=" + std::to_string(printer.isDefault) +
                                  " foreign=" + std::to_string(printer.foreign) +
                                  " listed=" + std::to_string(printer.listed) +
                                  " excluded=" + std::to_string(printer.excluded);
        LogText("PrinterFound", flags.c_str());
    }
}

}  // namespace

LoadingSequence::AdministratorCheck LoadingSequence::administratorCheck = IsAdministrator;
DWORD LoadingSequence::tickWorkMs = kTickWorkMs;

void LoadingSequence::ResetProcessCounters()
{
    g_spoolerStopWait = 0;
    g_spoolerStartWait = 0;
    g_enumerationAttempts = 0;
}

LoadingSequence::LoadingSequence()
    : database(nullptr), switches(), LoadingStep(0), osInfo(), foundScripts(), view(&g_hiddenView),
      ownerWindow(nullptr), strings(nullptr), scriptsLoaded(0), fullProfileBuild(), printerEnumeration()
{
    switches.Parse();
}

LoadingSequence::~LoadingSequence() = default;

void LoadingSequence::SetView(LoadingView* value) { view = value ? value : &g_hiddenView; }

void LoadingSequence::SetOwnerWindow(HWND window)
{
    ownerWindow = window;
    strings.SetInstance(window ? GetWindowInstance(window) : nullptr);
}

void LoadingSequence::FindMasterScripts()
{
    const std::vector<std::string> found = CollectScripts(ScriptDirectories());
    foundScripts.insert(foundScripts.end(), found.begin(), found.end());
    std::stable_sort(foundScripts.begin(), foundScripts.end(),
                     [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    foundScripts.erase(std::unique(foundScripts.begin(), foundScripts.end(),
                                   [](const std::string& a, const std::string& b) {
                                       return TextEquals(a.c_str(), b.c_str());
                                   }),
                       foundScripts.end());
    for (const std::string& script : foundScripts)
        LogText("ScriptFound", script.c_str());
    if (foundScripts.empty())
        view->ShowError(IDS_NO_SCRIPTS, MB_ICONERROR);
    view->SetProgressPosition(20);
    view->SetProgressIncrement(foundScripts.empty() ? 10 : 10 / static_cast<int>(foundScripts.size()));
}

UINT LoadingSequence::RunStep(bool& continues)
{
    continues = false;
    switch (LoadingStep) {
    case 0:
        if (!administratorCheck(osInfo))
            return IDS_NO_ADMIN_RIGHTS;
        break;
    // A what-if run neither closes programs nor stops the spooler.
    case 1:
        if (!LookOnlyRecord())
            CloseCompanionPrograms();
        break;
    case 2:
        if (osInfo.IsNT() && !LookOnlyRecord())
            StopSpooler();
        break;
    case 3:
        if (StillWaiting(g_spoolerStopWait, 8))
            return 0;
        break;
    case 4:
        if (osInfo.IsNT() && !LookOnlyRecord() && !StartSpoolerWhenStopped())
            return IDS_SPOOLER_UNSTABLE;
        break;
    case 5:
        if (StillWaiting(g_spoolerStartWait, 3))
            return 0;
        break;
    case 6:
        FindMasterScripts();
        break;
    case 7:
        if (!ContinueLoadingScripts()) {
            continues = true;
            return 0;
        }
        break;
    case 8:
        if (!ContinueFullProfile()) {
            continues = true;
            return 0;
        }
        break;
    case 9: {
        int opened = 0;
        if (!ContinueEnumeration(opened)) {
            continues = true;
            return 0;
        }
        if (database && opened == 0 && g_enumerationAttempts == 0) {
            LogText("PrinterEnumeration", "failed; loading starts over");
            LoadingStep = 0;
            view->SetProgressPosition(5);
        }
        ++g_enumerationAttempts;
        if (database && LoadingStep == 9)
            LogPrinters(database->printers);
        break;
    }
    case 10:
        if (!LookOnlyRecord())
            CloseCompanionPrograms();
        view->SetProgressIncrement(1);
        view->SetProgressPosition(95);
        break;
    default:
        break;
    }
    ++LoadingStep;
    return 0;
}

bool LoadingSequence::ContinueLoadingScripts()
{
    if (!database)
        return true;
    WorkBudget budget(tickWorkMs);
    // A script is read in one piece of work and its profiles taken in the
    // next; a tick does at least one piece, then as many as the longest
    // piece so far says still fit.
    do {
        if (scriptRead) {
            database->TakeScript(*scriptRead);
            LogText("ScriptLoaded", scriptRead->GetPath());
            scriptRead.reset();
        } else if (scriptsLoaded < foundScripts.size()) {
            const std::string& script = foundScripts[scriptsLoaded++];
            std::unique_ptr<IniDocument> read(new IniDocument());
            // A rejected script is unreadable or malformed; none of it is taken.
            if (database->ReadScript(script.c_str(), *read))
                scriptRead = std::move(read);
            else
                LogText("ScriptRejected", (script + " (" + database->LastRejection() + ")").c_str());
        }
        budget.PieceDone(scriptPieces);
    } while ((scriptRead || scriptsLoaded < foundScripts.size()) && budget.FitsAnother(scriptPieces));
    if (scriptRead || scriptsLoaded < foundScripts.size())
        return false;
    scriptsLoaded = 0;  // a second pass loads them again
    return true;
}

bool LoadingSequence::ContinueFullProfile()
{
    if (!database)
        return true;
    if (!fullProfileBuild)
        fullProfileBuild.reset(new FullProfileBuild(*database, database->fullProfile, switches));
    WorkBudget budget(tickWorkMs);
    if (!fullProfileBuild->Continue(budget))
        return false;
    fullProfileBuild.reset();
    return true;
}

bool LoadingSequence::ContinueEnumeration(int& opened)
{
    opened = 0;
    if (!database)
        return true;
    if (!printerEnumeration)
        printerEnumeration.reset(new PrinterEnumeration(database->printers, osInfo, switches, ownerWindow, strings));
    WorkBudget budget(tickWorkMs);
    if (!printerEnumeration->Continue(budget))
        return false;
    opened = printerEnumeration->Result();
    printerEnumeration.reset();
    return true;
}
