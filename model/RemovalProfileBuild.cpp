#include "RemovalProfileBuild.h"

#include "PrinterProfileLookup.h"

RemovalProfileBuild::RemovalProfileBuild(UninstallDatabase& database)
    : database(database), phase(PREPARE), kept(), nextKept(0), keepMerge(), pieces()
{
}

bool RemovalProfileBuild::Continue(WorkBudget& budget)
{
    // At least one piece per call; the next only when the longest piece so
    // far still fits.
    bool first = true;
    while (phase != DONE && (first || budget.FitsAnother(pieces))) {
        first = false;
        switch (phase) {
        case PREPARE:
            Prepare();
            phase = MERGE_KEPT;
            break;
        case MERGE_KEPT:
            // Spread over as many calls as it needs.
            if (!MergeKept(budget))
                return false;
            phase = FINISH_KEPT;
            break;
        case FINISH_KEPT:
            keepMerge->Finish();
            keepMerge.reset();
            phase = SUBTRACT;
            break;
        case SUBTRACT:
            database.removalProfile.Subtract(database.keepProfile);
            phase = SUBTRACT_TARGETS;
            break;
        case SUBTRACT_TARGETS:
            // An item written differently ("a.dll=x", another path or letter
            // case, other quotes) may still name what stays.
            database.removalProfile.SubtractSameTargets(database.keepProfile);
            phase = CONCLUDE;
            break;
        case CONCLUDE:
            Conclude();
            phase = DONE;
            break;
        case DONE:
            break;
        }
        budget.PieceDone(pieces);
    }
    return phase == DONE;
}

void RemovalProfileBuild::Prepare()
{
    UninstallDatabase& db = database;
    db.keepProfile.Clear();
    db.removalProfile.Clear();
    db.removedPrinterCount = 0;
    db.keptPrinterCount = 0;
    const std::vector<bool> printersThatGo = db.PrintersThatGo();
    // What stays is merged in one pass: the profiles of the printers that
    // stay, in printer order, then those kept whoever stays.
    kept.clear();
    const PrinterProfileLookup lookup(db.profiles);
    std::size_t index = 0;
    for (const InstalledPrinter& printer : db.printers) {
        const bool goes = printersThatGo[index++];
        if (printer.foreign || printer.removed)
            continue;
        if (goes) {
            ++db.removedPrinterCount;
            continue;
        }
        ++db.keptPrinterCount;
        if (const UninstallProfile* profile = lookup.Find(printer.driverName))
            kept.push_back(profile);
    }
    // The final clean-up goes into this run's result only: added to
    // fullProfile it would outlive a later choice that keeps a printer.
    db.removalProfile.Assign(db.fullProfile);
    if (db.keptPrinterCount == 0)
        db.AddFinalCleanup(db.removalProfile);
    for (const UninstallProfile& profile : db.profiles) {
        // Catch-all items, and the add-on's unless it alone is removed, stay
        // as long as any printer of the package does.
        const bool staysWithPrinters =
            profile.isCatchAll || (!db.addOnOnly && TextEquals(profile.name, kAddOnProfileName));
        if (profile.isIgnore || (staysWithPrinters && db.keptPrinterCount > 0))
            kept.push_back(&profile);
    }
    keepMerge.reset(new ProfileMerge(db.keepProfile));
    nextKept = 0;
}

bool RemovalProfileBuild::MergeKept(WorkBudget& budget)
{
    while (nextKept < kept.size()) {
        keepMerge->Add(*kept[nextKept++]);
        if (nextKept < kept.size() && budget.Spent())
            return false;
    }
    return true;
}

void RemovalProfileBuild::Conclude()
{
    const char* executable = database.AddOnExecutable();
    database.utilityNotTargeted = 1;
    for (const std::string& file : database.removalProfile.files) {
        if (TextEquals(file.c_str(), executable))
            database.utilityNotTargeted = 0;
    }
    database.SortAndUniqueAll();
}
