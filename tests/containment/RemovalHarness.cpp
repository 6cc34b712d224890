#include "RemovalHarness.h"

#include <algorithm>
#include <random>

#include "CommandLineSwitches.h"
#include "PrinterEnumeration.h"
#include "RemovalPageRun.h"
#include "ScopedOverride.h"
#include "StringLoader.h"
#include "TestPaths.h"

namespace containment {

namespace {

int g_restartRequests = 0;
int RecordRestart(const COSInfo&)
{
    ++g_restartRequests;
    return 1;
}

}  // namespace

InstalledSeed::InstalledSeed(unsigned seed, const Layout& layout)
    : installation(GenerateInstallation(seed, layout)), spooler(spoolsim::FormatState(installation.spooler))
{
    Install(installation, layout, BesideTests("containment_utility.exe"));
}

bool LoadDatabase(UninstallDatabase& database, const std::vector<std::string>& scriptPaths, bool unpell,
                  const std::string& filter)
{
    std::vector<std::string> sorted = scriptPaths;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); });
    for (const std::string& path : sorted)
        database.LoadScript(path.c_str());
    CommandLineSwitches switches;
    switches.ParseText((std::string(unpell ? "trelun08.exe /UNPELL " : "trelun08.exe ") + filter).c_str());
    database.BuildFullProfile(database.fullProfile, switches);
    StringLoader strings(GetModuleHandleA(nullptr));
    return BuildListOfInstalledPrinters(database.printers, database.osInfo, switches, nullptr, strings) > 0;
}

// The user's choice: everything, nothing, or each listed printer by chance.
std::vector<std::string> ChoosePrinters(unsigned seed, UninstallDatabase& database)
{
    std::mt19937 random(seed * 7919u + 17u);
    const int mode = std::uniform_int_distribution<int>(0, 9)(random);
    std::vector<std::string> selected;
    for (InstalledPrinter& printer : database.printers) {
        if (!printer.IsListed())
            continue;
        const bool chosen = mode < 3 || (mode > 3 && std::uniform_int_distribution<int>(0, 1)(random) == 1);
        printer.excluded = chosen ? 0 : 1;
        if (chosen)
            selected.push_back(printer.name);
    }
    return selected;
}

RemovalOutcome RunFullRemoval(UninstallDatabase& database, unsigned long limitMs)
{
    RemovalOutcome outcome;
    g_restartRequests = 0;
    const ScopedOverride<RemovePage::RestartFunction> restart(RemovePage::restartSystem, RecordRestart);
    MessageBoxRecorder recorder(IDOK);
    {
        RemovalPageRun run(database);
        if (run.Made()) {
            const DWORD start = GetTickCount();
            run.Begin();
            run.RunToTheEnd(limitMs);
            outcome.milliseconds = GetTickCount() - start;
        }
        outcome.finished = run.Finished();
        outcome.closeBeforeFinish = run.ClosedBeforeFinish();
    }
    outcome.messages = recorder.Messages();
    outcome.restartRequests = g_restartRequests;
    return outcome;
}

}  // namespace containment
