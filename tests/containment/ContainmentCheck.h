// The containment rules: what a removal changed must be a subset of what
// its removal profile names, and nothing a printer that stays, an ignore
// profile or another package needs may be gone.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "Installation.h"
#include "Layout.h"
#include "SimState.h"
#include "Snapshot.h"
#include "UninstallDatabase.h"

namespace containment {

struct SystemState {
    FileSnapshot files;
    RegistrySnapshot registry;
    std::set<std::string> services;
    spoolsim::State spooler;
};

// What to record, for a given installation.
std::vector<FileRoot> FileRootsFor(const Layout& layout);
std::vector<RegistryRoot> RegistryRootsFor(const Installation& installation);
SystemState CaptureState(const Layout& layout, const Installation& installation, const spoolsim::State& spooler);

struct RemovalRecord {
    // The removal profile as step 0 computed it, before the removers
    // appended their lines.
    UninstallProfile planned;
    // Printer names chosen by the user, before the link rule.
    std::vector<std::string> selected;
    // Chosen printers a fault keeps in the spooler (lower case).
    std::set<std::string> survivors;
    std::vector<std::string> journal;
};

// One line per violation; empty when the removal stayed inside its profile.
std::vector<std::string> CheckContainment(const Installation& installation, const Layout& layout,
                                          const UninstallDatabase& database, const RemovalRecord& record,
                                          const SystemState& before, const SystemState& after);

// Printers the removal must take: the selection and, transitively, every
// printer whose Pelled link names one of them.
std::set<std::string> ChosenPrinters(const UninstallDatabase& database, const std::vector<std::string>& selected);

}  // namespace containment
