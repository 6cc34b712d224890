#include "FullProfileBuild.h"

FullProfileBuild::FullProfileBuild(UninstallDatabase& database, UninstallProfile& target,
                                   const CommandLineSwitches& switches)
    : database(database), target(target), switches(switches), merge(), next(0), merged(false), done(false)
{
}

bool FullProfileBuild::Continue(WorkBudget& budget)
{
    if (done)
        return true;
    if (!merge) {
        database.SortAndUniqueAll();
        target.Clear();
        merge.reset(new ProfileMerge(target));
        next = 0;
    }
    const std::vector<UninstallProfile>& profiles = database.profiles;
    bool added = false;
    while (next < profiles.size()) {
        if (!profiles[next].isIgnore) {
            merge->Add(profiles[next]);
            merged = true;
        }
        ++next;
        added = true;
        if (budget.Spent())
            return false;
    }
    // Sorting the merged lists is a piece of its own on a large database.
    if (added && budget.HalfSpent())
        return false;
    merge->Finish();
    merge.reset();
    ApplyAddOnRule();
    done = true;
    return true;
}

void FullProfileBuild::ApplyAddOnRule()
{
    UninstallProfile addOn;
    database.addOnOnly = 0;
    if (!database.FindProfileByName(addOn, kAddOnProfileName))
        return;
    if (switches.SwitchValueCount("UNPELL") < 0) {
        target.Subtract(addOn);  // it goes only with the last printer
    } else {
        target.Assign(addOn);
        database.addOnOnly = 1;
    }
}
