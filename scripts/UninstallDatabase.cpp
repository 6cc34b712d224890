#include "UninstallDatabase.h"

#include <algorithm>

#include "PathParts.h"
#include "ScriptFormat.h"

const char kAddOnProfileName[] = "Pellivance";
const char kAddOnExecutable[] = "PELLIV32.EXE";
const char kAddOnExecutableWin32s[] = "PELLIVAN.EXE";

namespace {

bool NameLess(const UninstallProfile& a, const UninstallProfile& b) { return TextLess(a.name, b.name); }

std::string FirstWord(const char* text)
{
    const std::string whole(text ? text : "");
    return whole.substr(0, whole.find(' '));
}

}  // namespace

void SortProfilesByName(std::vector<UninstallProfile>& profiles, ScriptProblemLog* problems)
{
    std::stable_sort(profiles.begin(), profiles.end(), NameLess);
    std::vector<UninstallProfile> kept;
    kept.reserve(profiles.size());
    for (UninstallProfile& profile : profiles) {
        if (!kept.empty() && TextEquals(kept.back().name, profile.name)) {
            const UninstallProfile& winner = kept.back();
            ReportProblem(problems, PROBLEM_PROFILE_DROPPED, profile.scriptPath,
                          std::string("profile \"") + profile.name + "\" of [" + StarterSectionOf(profile) +
                              "] dropped: [" + StarterSectionOf(winner) + "] of " + winner.scriptPath +
                              " declared \"" + winner.name + "\" first");
            continue;
        }
        kept.push_back(std::move(profile));
    }
    profiles.swap(kept);
}

UninstallDatabase::UninstallDatabase() : osInfo() { Initialise(); }

UninstallDatabase::UninstallDatabase(const COSInfo& system) : osInfo(system) { Initialise(); }

void UninstallDatabase::Initialise()
{
    isWin9x = osInfo.IsWin9x() ? 1 : 0;
    restartNeeded = 0;
    uninstallScanner = 0;
    pick = 1;
    removeOemInf = 0;
    removedPrinterCount = 0;
    keptPrinterCount = 0;
    addOnOnly = 0;
    utilityNotTargeted = 0;
    productGuid[0] = '\0';
    oemInfMatchLineNumber = 0;
    oemInfMatchLineString[0] = '\0';
    problems = nullptr;
}

bool UninstallDatabase::BuildFullProfile(UninstallProfile& target, const CommandLineSwitches& switches)
{
    SortAndUniqueAll();
    target.Clear();
    bool merged = false;
    for (const UninstallProfile& profile : profiles) {
        if (!profile.isIgnore) {
            target.Merge(profile);
            merged = true;
        }
    }
    UninstallProfile addOn;
    addOnOnly = 0;
    if (FindProfileByName(addOn, kAddOnProfileName)) {
        if (switches.SwitchValueCount("UNPELL") < 0) {
            target.Subtract(addOn);  // it goes only with the last printer
        } else {
            target.Assign(addOn);
            addOnOnly = 1;
        }
    }
    return merged;
}

bool UninstallDatabase::FindProfileByName(UninstallProfile& target, const char* name) const
{
    target.Clear();
    for (const UninstallProfile& profile : profiles) {
        if (TextEquals(profile.name, name)) {
            target.Assign(profile);
            return true;
        }
    }
    return false;
}

bool UninstallDatabase::FindProfileByManufacturer(UninstallProfile& target, const char* driverName) const
{
    target.Clear();
    const std::string word = FirstWord(driverName);
    bool found = false;
    for (const UninstallProfile& profile : profiles) {
        if (profile.isManufacturer && TextEquals(FirstWord(profile.name).c_str(), word.c_str())) {
            target.Assign(profile);
            found = true;
        }
    }
    return found;
}

bool UninstallDatabase::FindPrinterProfile(UninstallProfile& target, const InstalledPrinter& printer) const
{
    return FindProfileByName(target, printer.driverName) ||
           FindProfileByManufacturer(target, printer.driverName);
}

void UninstallDatabase::ApplyLinkRule()
{
    // Until nothing changes: a single pass would miss a Pelled printer
    // listed before the one that takes it along, and catch it on the next
    // build, so two builds of the same choice would differ.
    for (bool changed = true; changed;) {
        changed = false;
        for (const InstalledPrinter& chosen : printers) {
            if (chosen.foreign || chosen.removed || chosen.excluded)
                continue;
            for (InstalledPrinter& linked : printers) {
                if (linked.excluded && linked.pelledName[0] != '\0' &&
                    TextEquals(linked.pelledName, chosen.name)) {
                    linked.excluded = 0;
                    changed = true;
                }
            }
        }
    }
}

int UninstallDatabase::BuildRemovalProfile()
{
    keepProfile.Clear();
    removalProfile.Clear();
    removedPrinterCount = 0;
    keptPrinterCount = 0;
    ApplyLinkRule();
    for (const InstalledPrinter& printer : printers) {
        if (printer.foreign || printer.removed)
            continue;
        if (!printer.excluded) {
            ++removedPrinterCount;
            continue;
        }
        ++keptPrinterCount;
        UninstallProfile profile;
        if (FindPrinterProfile(profile, printer))
            keepProfile.Merge(profile);
    }
    // The final clean-up goes into this run's result only: added to
    // fullProfile it would outlive a later choice that keeps a printer.
    removalProfile.Assign(fullProfile);
    if (keptPrinterCount == 0)
        AddFinalCleanup(removalProfile);
    for (const UninstallProfile& profile : profiles) {
        // Catch-all items, and the add-on's unless it alone is removed, stay
        // as long as any printer of the package does.
        const bool staysWithPrinters =
            profile.isCatchAll || (!addOnOnly && TextEquals(profile.name, kAddOnProfileName));
        if (profile.isIgnore || (staysWithPrinters && keptPrinterCount > 0))
            keepProfile.Merge(profile);
    }
    removalProfile.Subtract(keepProfile);
    // An item written differently ("a.dll=x", another path or letter case,
    // other quotes) may still name what stays.
    removalProfile.SubtractSameTargets(keepProfile);

    const char* executable = AddOnExecutable();
    utilityNotTargeted = 1;
    for (const std::string& file : removalProfile.files) {
        if (TextEquals(file.c_str(), executable))
            utilityNotTargeted = 0;
    }
    SortAndUniqueAll();
    return 1;
}

void UninstallDatabase::AddFinalCleanup(UninstallProfile& target)
{
    if (keptPrinterCount != 0)
        return;
    UninstallProfile addOn;
    if (FindProfileByName(addOn, kAddOnProfileName))
        target.Merge(addOn);
    for (const UninstallProfile& profile : profiles) {
        if (profile.isCatchAll)
            target.Merge(profile);
        PathParts parts;
        if (SplitPath(profile.scriptPath, parts) && TextEquals(parts.extension, ".unm")) {
            std::string fileName = std::string(parts.baseName) + parts.extension;
            target.files.push_back(fileName);
        }
    }
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\OEM01", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\VSR32_08", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO\\Filters", "", true);
    target.AddRegistryLine("HKLM", "SOFTWARE\\VANTO", "", false);
}

void UninstallDatabase::SortAndUniqueAll()
{
    SortProfilesByName(profiles, nullptr);
    keepProfile.SortAll();
    keepProfile.UniqueAll();
    removalProfile.SortAll();
    removalProfile.UniqueAll();
}

int UninstallDatabase::ListedPrinterCount() const
{
    int count = 0;
    for (const InstalledPrinter& printer : printers) {
        if (printer.IsListed())
            ++count;
    }
    return count;
}

const char* UninstallDatabase::AddOnExecutable() const
{
    return osInfo.IsWin32s() ? kAddOnExecutableWin32s : kAddOnExecutable;
}
