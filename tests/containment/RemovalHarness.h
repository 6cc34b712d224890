// A full removal in this process: the uninstall database loaded from the
// scripts and filled from the spooler, and the removal page made from the
// program's own dialog template, run tick by tick until it reports back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Installation.h"
#include "SimulatedSpooler.h"
#include "UninstallDatabase.h"

namespace containment {

// Scripts loaded in sorted order, the full profile built as the loading
// dialog does (with the UNPELL switch when asked, and the filter switches
// given), the printers enumerated from the spooler. False when the
// enumeration found nothing.
bool LoadDatabase(UninstallDatabase& database, const std::vector<std::string>& scriptPaths, bool unpell,
                  const std::string& filter = std::string());

// A seed's random installation laid down, its printers in the simulator
// (the utility stand-in as the package's utility). A fatal failure of the
// lay-down is left for the caller to check.
struct InstalledSeed {
    InstalledSeed(unsigned seed, const Layout& layout);
    const Installation installation;
    SimulatedSpooler spooler;
};

// The user's choice for a seed: everything, nothing, or each listed printer
// by chance; the names chosen.
std::vector<std::string> ChoosePrinters(unsigned seed, UninstallDatabase& database);

struct RemovalOutcome {
    bool finished = false;          // message 1129 reached the parent
    bool closeBeforeFinish = false;  // WM_CLOSE came first, as it should
    std::vector<RecordedMessage> messages;
    int restartRequests = 0;
    unsigned long milliseconds = 0;
};

// Runs beginRemoval and pumps messages until the page posts 1129 to its
// parent, or the time limit passes.
RemovalOutcome RunFullRemoval(UninstallDatabase& database, unsigned long limitMs = 60000);

}  // namespace containment
