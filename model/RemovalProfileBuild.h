// BuildRemovalProfile as pieces of work that can stop between any two and
// go on at the next timer tick: the removal's first step with many printers.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "UninstallDatabase.h"
#include "UninstallProfile.h"
#include "WorkBudget.h"

class RemovalProfileBuild {
public:
    // The database's profiles and printers must stay unchanged until the
    // build is done.
    explicit RemovalProfileBuild(UninstallDatabase& database);

    // Works until done or until the budget is spent; true once keepProfile,
    // removalProfile, the counts and utilityNotTargeted are complete.
    bool Continue(WorkBudget& budget);

private:
    enum Phase { PREPARE, MERGE_KEPT, FINISH_KEPT, SUBTRACT, SUBTRACT_TARGETS, CONCLUDE, DONE };

    void Prepare();
    // False when the budget ran out first.
    bool MergeKept(WorkBudget& budget);
    void Conclude();

    UninstallDatabase& database;
    Phase phase;
    std::vector<const UninstallProfile*> kept;
    std::size_t nextKept;
    std::unique_ptr<ProfileMerge> keepMerge;
    PieceHistory pieces;
};
