// Everything the uninstaller knows: the profiles of all scripts, the script
// settings, the installed printers, and the profiles derived from them, down
// to the removal profile the removal engine works from.
#pragma once
#include <string>
#include <vector>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "PrinterList.h"
#include "ScriptProblems.h"
#include "UninstallProfile.h"

class IniDocument;

// The maker's printer-virtualisation add-on: its profile and executables.
extern const char kAddOnProfileName[];
extern const char kAddOnExecutable[];
extern const char kAddOnExecutableWin32s[];

class UninstallDatabase {
public:
    // Classifies the running system.
    UninstallDatabase();
    explicit UninstallDatabase(const COSInfo& system);

    // Reads one script's profiles and settings: 1, or 0 when the script was
    // rejected (nothing of it is then taken).
    int LoadScript(const char* path);
    // LoadScript in two halves, for a loader that spreads its scripts over
    // timer ticks: reading and checking the text (1, or 0 when rejected),
    // then taking the profiles of a script read that way.
    int ReadScript(const char* path, IniDocument& script);
    void TakeScript(const IniDocument& script);
    // Why the last script read was rejected; "" when it was not.
    const std::string& LastRejection() const { return lastRejection; }

    // Union of every profile but the ignore profiles, then the add-on rule:
    // without "UNPELL" the add-on's items are kept out; with it they are all
    // there is. True when at least one profile was merged.
    bool BuildFullProfile(UninstallProfile& target, const CommandLineSwitches& switches);

    bool FindProfileByName(UninstallProfile& target, const char* name) const;
    // Manufacturer profiles whose first word is the driver name's first
    // word; the last in name order wins.
    bool FindProfileByManufacturer(UninstallProfile& target, const char* driverName) const;
    // By the driver name, else by the manufacturer.
    bool FindPrinterProfile(UninstallProfile& target, const InstalledPrinter& printer) const;

    // From fullProfile and the printers' flags: keepProfile, removalProfile,
    // the counts and utilityNotTargeted. Returns 1.
    int BuildRemovalProfile();
    // With no printer of the package staying: the add-on, the catch-all
    // profiles, the scripts themselves and the maker's registry keys.
    void AddFinalCleanup(UninstallProfile& target);
    void SortAndUniqueAll();
    // Which printers go, in list order: those chosen, and those Pelled to
    // one that goes, directly or through others; an unreadable printer
    // stays whatever it is linked to. The records are not changed, so a
    // build for a preview leaves the choice as it was.
    std::vector<bool> PrintersThatGo() const;
    // Writes PrintersThatGo into the records' flags, for the removal that
    // acts on them.
    void ApplyLinkRule();
    int ListedPrinterCount() const;
    const char* AddOnExecutable() const;

    // Where LoadScript reports what it met; nullptr (the default) for none.
    void SetProblemLog(ScriptProblemLog* log) { problems = log; }

    int isWin9x;
    int restartNeeded;
    int uninstallScanner;
    int pick;
    int removeOemInf;
    int removedPrinterCount;
    int keptPrinterCount;
    // 1 when "UNPELL" made the full profile the add-on's alone.
    int addOnOnly;
    UninstallProfile fullProfile;
    UninstallProfile keepProfile;
    UninstallProfile removalProfile;
    PrinterList printers;
    int utilityNotTargeted;
    char productGuid[kTextField];
    int oemInfMatchLineNumber;
    char oemInfMatchLineString[kTextField];
    std::vector<UninstallProfile> profiles;
    COSInfo osInfo;

private:
    void Initialise();
    void ReadProfiles(const IniDocument& script, const char* fullPath);
    void ReadCommandlineParam(const IniDocument& script, const char* fullPath);
    void ReadScannerSettings(const IniDocument& script, const char* fullPath);
    void ReportScriptProblems(const IniDocument& script, const std::vector<UninstallProfile>& declared);
    int RejectScript(const char* path, const char* reason);

    ScriptProblemLog* problems;
    std::string lastRejection;
};

// Stable sort by name, then every profile named like the one before it is
// dropped whole (and reported to the log, when there is one).
void SortProfilesByName(std::vector<UninstallProfile>& profiles, ScriptProblemLog* problems);
