// BuildFullProfile as work that can stop after any profile and go on at the
// next timer tick: the loading dialog's step for large script sets.
#pragma once
#include <cstddef>
#include <memory>

#include "CommandLineSwitches.h"
#include "UninstallDatabase.h"
#include "UninstallProfile.h"
#include "WorkBudget.h"

class FullProfileBuild {
public:
    // The database's profiles must stay unchanged until the build is done.
    FullProfileBuild(UninstallDatabase& database, UninstallProfile& target, const CommandLineSwitches& switches);

    // Works until done or until the budget is spent; true once the target
    // holds the full profile.
    bool Continue(WorkBudget& budget);
    // What BuildFullProfile returns: whether a profile was merged.
    bool Merged() const { return merged; }

private:
    void ApplyAddOnRule();

    UninstallDatabase& database;
    UninstallProfile& target;
    const CommandLineSwitches& switches;
    std::unique_ptr<ProfileMerge> merge;
    std::size_t next;
    bool merged;
    bool done;
};
