#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "UninstallDatabase.h"
#include "VersionRecords.h"

namespace {

enum Kind { DRIVER, MANUFACTURER, CATCH_ALL, IGNORE_PROFILE };

bool Has(const TextList& list, const char* item)
{
    return std::any_of(list.begin(), list.end(),
                       [item](const std::string& entry) { return TextEquals(entry.c_str(), item); });
}

const char kScript[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\VUNZ__08.unm";
const char* const kFinalKeys[4] = {
    "HKLM,\"SOFTWARE\\VANTO\\OEM01\",\"\",1", "HKLM,\"SOFTWARE\\VANTO\\VSR32_08\",\"\",1",
    "HKLM,\"SOFTWARE\\VANTO\\Filters\",\"\",1", "HKLM,\"SOFTWARE\\VANTO\",\"\""};

class Database : public ::testing::Test {
protected:
    UninstallProfile& AddProfile(const char* name, Kind kind, const TextList& files)
    {
        UninstallProfile profile;
        CopyText(profile.name, name);
        CopyText(profile.scriptPath, kScript);
        profile.isManufacturer = kind == MANUFACTURER;
        profile.isCatchAll = kind == CATCH_ALL;
        profile.isIgnore = kind == IGNORE_PROFILE;
        profile.files = files;
        if (kind != MANUFACTURER)
            profile.drivers.push_back(name);
        database.profiles.push_back(profile);
        return database.profiles.back();
    }
    InstalledPrinter& AddPrinter(const char* name, const char* driver, bool chosen, const char* pelled = "")
    {
        InstalledPrinter printer;
        printer.SetName(name);
        printer.SetDriverName(driver);
        printer.SetPelledName(pelled);
        printer.isHalvaprint = 1;
        printer.excluded = chosen ? 0 : 1;
        return database.printers.Append(printer);
    }
    void Load(const char* commandLine = "")
    {
        CommandLineSwitches switches;
        switches.ParseText(commandLine);
        database.BuildFullProfile(database.fullProfile, switches);
    }
    const TextList& Removed() const { return database.removalProfile.files; }

    UninstallDatabase database{versions::kWinXP};
};

}  // namespace

TEST_F(Database, ItemsAPrinterThatStaysNamesAreKept)
{
    AddProfile("Chosen Driver", DRIVER, {"a.dll"});
    AddProfile("Kept Driver", DRIVER, {"a.dll", "b.dll"});
    AddProfile("Unused Driver", DRIVER, {"c.dll", "b.dll"});
    Load();
    AddPrinter("P1", "Chosen Driver", true);
    AddPrinter("P2", "kept driver", false);
    EXPECT_EQ(1, database.BuildRemovalProfile());
    // The unused driver's own item goes; everything the staying printer names stays.
    EXPECT_EQ(TextList{"c.dll"}, Removed());
    EXPECT_EQ((TextList{"Chosen Driver", "Unused Driver"}), database.removalProfile.drivers);
    EXPECT_EQ(1, database.removedPrinterCount);
    EXPECT_EQ(1, database.keptPrinterCount);
    EXPECT_FALSE(Has(Removed(), "VUNZ__08.unm"));
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
}

TEST_F(Database, WithNoPrinterStayingTheFinalCleanupIsAdded)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pellivance", DRIVER, {"PELLIV32.EXE", "pell.dll"});
    AddProfile("Other", DRIVER, {"pell.dll"});
    Load();
    // The add-on's items are kept out of the full profile.
    EXPECT_FALSE(Has(database.fullProfile.files, "pell.dll"));
    AddPrinter("P1", "Vanto LX", true);
    database.BuildRemovalProfile();
    EXPECT_EQ(0, database.keptPrinterCount);
    EXPECT_TRUE(Has(Removed(), "VUNZ__08.unm"));
    EXPECT_TRUE(Has(Removed(), "lx.dll"));
    EXPECT_TRUE(Has(Removed(), "pell.dll"));
    EXPECT_TRUE(Has(Removed(), "PELLIV32.EXE"));
    EXPECT_EQ(0, database.utilityNotTargeted);
    for (const char* key : kFinalKeys)
        EXPECT_TRUE(Has(database.removalProfile.registryKeys, key)) << key;
    // Sorted and free of duplicates, although every profile came from one script.
    EXPECT_EQ(1, std::count(Removed().begin(), Removed().end(), "VUNZ__08.unm"));
    EXPECT_TRUE(std::is_sorted(database.removalProfile.registryKeys.begin(),
                               database.removalProfile.registryKeys.end(),
                               [](const std::string& a, const std::string& b) { return TextLess(a.c_str(), b.c_str()); }));
}

TEST_F(Database, TheFinalCleanupDoesNotOutliveAChoiceThatKeepsAPrinter)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pellivance", DRIVER, {"PELLIV32.EXE"});
    Load();
    InstalledPrinter& first = AddPrinter("P1", "Vanto LX", true);
    AddPrinter("P2", "Vanto LX", true);
    database.BuildRemovalProfile();
    ASSERT_TRUE(Has(Removed(), "VUNZ__08.unm"));

    // The user now keeps one printer: nothing of the clean-up may be removed.
    first.excluded = 1;
    database.BuildRemovalProfile();
    EXPECT_EQ(1, database.keptPrinterCount);
    EXPECT_TRUE(Removed().empty());
    EXPECT_TRUE(database.removalProfile.registryKeys.empty());
    EXPECT_EQ(1, database.utilityNotTargeted);
}

TEST_F(Database, IgnoreProfilesAreNeverRemoved)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll", "x.dll", "vunz__08.UNM"});
    AddProfile("System", IGNORE_PROFILE, {"x.dll", "VUNZ__08.unm"});
    UninstallProfile& ignore = database.profiles.back();
    ignore.registryKeys.push_back(kFinalKeys[3]);
    Load();
    AddPrinter("P1", "Vanto LX", true);
    InstalledPrinter& second = AddPrinter("P2", "Vanto LX", true);
    for (int staying = 0; staying < 2; ++staying) {
        second.excluded = staying;
        database.BuildRemovalProfile();
        EXPECT_FALSE(Has(Removed(), "x.dll"));
        EXPECT_FALSE(Has(Removed(), "VUNZ__08.unm"));
        EXPECT_FALSE(Has(database.removalProfile.drivers, "System"));
        EXPECT_FALSE(Has(database.removalProfile.registryKeys, kFinalKeys[3]));
        EXPECT_EQ(staying == 0, Has(database.removalProfile.registryKeys, kFinalKeys[0]));
    }
}

TEST_F(Database, CatchAllItemsGoWithTheLastPrinter)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Vanto MX", DRIVER, {"mx.dll"});
    AddProfile("Shared", CATCH_ALL, {"common.dll"});
    Load();
    AddPrinter("P1", "Vanto LX", true);
    InstalledPrinter& second = AddPrinter("P2", "Vanto MX", false);
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"lx.dll"}, Removed());
    EXPECT_FALSE(Has(database.removalProfile.drivers, "Shared"));

    second.excluded = 0;
    database.BuildRemovalProfile();
    EXPECT_TRUE(Has(Removed(), "common.dll"));
    EXPECT_TRUE(Has(database.removalProfile.drivers, "Shared"));
}

TEST_F(Database, WithNoPrinterInstalledEverythingButTheIgnoredGoes)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll", "keep.dll"});
    AddProfile("Shared", CATCH_ALL, {"common.dll"});
    AddProfile("Keep", IGNORE_PROFILE, {"keep.dll"});
    Load();
    database.BuildRemovalProfile();
    EXPECT_EQ(0, database.keptPrinterCount);
    EXPECT_EQ(0, database.removedPrinterCount);
    EXPECT_EQ((TextList{"common.dll", "lx.dll", "VUNZ__08.unm"}), Removed());
    EXPECT_EQ(4u, database.removalProfile.registryKeys.size());
}

TEST_F(Database, NoProfilesLeaveOnlyTheMakersKeys)
{
    EXPECT_FALSE(database.BuildFullProfile(database.fullProfile, CommandLineSwitches()));
    AddProfile("Keep", IGNORE_PROFILE, {"keep.dll"});
    EXPECT_FALSE(database.BuildFullProfile(database.fullProfile, CommandLineSwitches()));
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"VUNZ__08.unm"}, Removed());
    EXPECT_EQ(4u, database.removalProfile.registryKeys.size());
}

TEST_F(Database, PrintersFindTheirProfileByDriverThenByManufacturer)
{
    AddProfile("Alpha A", MANUFACTURER, {"a.dll"});
    AddProfile("alpha B", MANUFACTURER, {"b.dll"});
    AddProfile("Alpha Printer", DRIVER, {"p.dll"});
    AddProfile("AlphaX", MANUFACTURER, {"x.dll"});
    AddProfile("Gamma One", DRIVER, {"g.dll"});
    database.SortAndUniqueAll();

    InstalledPrinter printer;
    printer.SetDriverName("Alpha Printer X");
    UninstallProfile found;
    ASSERT_TRUE(database.FindPrinterProfile(found, printer));
    EXPECT_STREQ("alpha B", found.name);  // the last match in name order

    printer.SetDriverName("ALPHA PRINTER");
    ASSERT_TRUE(database.FindPrinterProfile(found, printer));
    EXPECT_STREQ("Alpha Printer", found.name);

    printer.SetDriverName("Beta 1");
    EXPECT_FALSE(database.FindPrinterProfile(found, printer));
    EXPECT_STREQ("", found.name);
    EXPECT_TRUE(found.files.empty());
    // Only manufacturer profiles are found by their first word.
    printer.SetDriverName("Gamma Two");
    EXPECT_FALSE(database.FindPrinterProfile(found, printer));
    EXPECT_FALSE(database.FindProfileByManufacturer(found, "AlphaX2 9"));
}

TEST_F(Database, PelledPrintersGoWithThePrinterTheyAreLinkedTo)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pell Driver", DRIVER, {"pell.dll"});
    Load();
    InstalledPrinter& chain = AddPrinter("Chain", "Pell Driver", false, "Early");
    InstalledPrinter& early = AddPrinter("Early", "Pell Driver", false, "Main");
    AddPrinter("Main", "Vanto LX", true);
    InstalledPrinter& linked = AddPrinter("Linked", "Pell Driver", false, "main");
    InstalledPrinter& tail = AddPrinter("Tail", "Pell Driver", false, "LINKED");
    InstalledPrinter& hidden = AddPrinter("Hidden", "Pell Driver", false, "MAIN");
    hidden.listed = 0;
    InstalledPrinter& unreadable = AddPrinter("Unreadable", "Pell Driver", false, "Main");
    unreadable.listed = 0;
    unreadable.unreadable = 1;
    database.BuildRemovalProfile();
    // Links are followed whatever the list order: "Chain" hangs on "Early",
    // which comes before the printer that takes "Early" along. Only the
    // unreadable printer stays.
    EXPECT_EQ(6, database.removedPrinterCount);
    EXPECT_EQ(1, database.keptPrinterCount);
    EXPECT_TRUE(Has(Removed(), "lx.dll"));
    EXPECT_FALSE(Has(Removed(), "pell.dll"));
    // A build changes no record: the inspection dialog's build must not
    // change what a later choice removes.
    for (const InstalledPrinter* printer : {&chain, &early, &linked, &tail, &hidden, &unreadable})
        EXPECT_EQ(1, printer->excluded) << printer->name;
    const TextList first = Removed();
    database.BuildRemovalProfile();
    EXPECT_EQ(first, Removed());

    // The removal writes the closure into the records it acts on.
    database.ApplyLinkRule();
    for (const InstalledPrinter* printer : {&chain, &early, &linked, &tail, &hidden})
        EXPECT_EQ(0, printer->excluded) << printer->name;
    EXPECT_EQ(1, unreadable.excluded);
}

TEST_F(Database, APreviewBuildLeavesHiddenLinkedPrintersToTheNextChoice)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pell Driver", DRIVER, {"pell.dll"});
    Load();
    InstalledPrinter& main = AddPrinter("Main", "Vanto LX", true);
    AddPrinter("Other", "Vanto LX", false);
    InstalledPrinter& hidden = AddPrinter("Hidden", "Pell Driver", false, "Main");
    hidden.listed = 0;
    database.BuildRemovalProfile();  // as the inspection dialog does
    EXPECT_EQ(2, database.removedPrinterCount);
    // The user then keeps "Main": its hidden linked printer stays too.
    main.excluded = 1;
    database.BuildRemovalProfile();
    EXPECT_EQ(0, database.removedPrinterCount);
    EXPECT_EQ(3, database.keptPrinterCount);
    EXPECT_TRUE(Has(database.keepProfile.files, "pell.dll"));
}

TEST_F(Database, ForeignAndRemovedPrintersDoNotCount)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    Load();
    AddPrinter("P1", "Vanto LX", true);
    InstalledPrinter& foreign = AddPrinter("F", "Vanto LX", false);
    foreign.isHalvaprint = 0;
    foreign.foreign = 1;
    InstalledPrinter& gone = AddPrinter("G", "Vanto LX", false);
    gone.removed = 1;
    InstalledPrinter& hidden = AddPrinter("H", "Vanto LX", false);
    hidden.listed = 0;
    database.BuildRemovalProfile();
    EXPECT_EQ(1, database.removedPrinterCount);
    EXPECT_EQ(1, database.keptPrinterCount);  // the hidden printer stays
    EXPECT_TRUE(Removed().empty());
    EXPECT_EQ(1, database.ListedPrinterCount());
}

TEST_F(Database, UnpellRemovesOnlyTheAddOn)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pellivance", DRIVER, {"PELLIV32.EXE"});
    Load("trelun08.exe /UNPELL");
    EXPECT_EQ(TextList{"PELLIV32.EXE"}, database.fullProfile.files);
    AddPrinter("P1", "Vanto LX", false);
    AddPrinter("Pelled", "Pellivance", true, "P1");
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"PELLIV32.EXE"}, Removed());
    EXPECT_EQ(0, database.utilityNotTargeted);
}

TEST_F(Database, TheAddOnExecutableDependsOnThePlatform)
{
    UninstallDatabase win32s(versions::kWin32s);
    EXPECT_STREQ("PELLIVAN.EXE", win32s.AddOnExecutable());
    UninstallProfile addOn;
    CopyText(addOn.name, "Pellivance");
    addOn.files = {"PELLIV32.EXE", "pellivan.exe"};
    win32s.profiles.push_back(addOn);
    win32s.BuildFullProfile(win32s.fullProfile, CommandLineSwitches());
    win32s.BuildRemovalProfile();
    EXPECT_EQ(0, win32s.utilityNotTargeted);

    win32s.profiles.back().files = {"PELLIV32.EXE"};
    win32s.BuildRemovalProfile();
    EXPECT_EQ(1, win32s.utilityNotTargeted);
}

TEST(ItemTargets, WhatEachKindOfItemActsOn)
{
    typedef std::vector<std::string> Targets;
    EXPECT_EQ(Targets{"a.dll"}, ItemTargets(LIST_FILES, "A.DLL=resources"));
    EXPECT_EQ(Targets{"a.dll"}, ItemTargets(LIST_FILES, "sub\\a.dll"));
    EXPECT_EQ(Targets{"vanto.ini,s,k"}, ItemTargets(LIST_DELETE_INI, "C:\\x\\VANTO.INI,S,K"));
    EXPECT_EQ(Targets{"vanto.ini,s,k"}, ItemTargets(LIST_DELETE_INI, "\"vanto.ini\",\"s\",\"k\",rest"));
    EXPECT_EQ(Targets{"status"}, ItemTargets(LIST_DELETE_LOAD_RUN, "\"Status\",\"a.exe\""));
    EXPECT_EQ((Targets{"vanto,help", "|startup,help"}), ItemTargets(LIST_SHORTCUTS, "\"Vanto\",\"Help.lnk\",STARTUP"));
    EXPECT_EQ(Targets{"vanto,help"}, ItemTargets(LIST_SHORTCUTS, "Vanto,Help"));
    EXPECT_EQ(Targets{"vanto,"}, ItemTargets(LIST_SHORTCUTS, "Vanto,"));
    EXPECT_EQ(ItemTargets(LIST_REGISTRY_KEYS, "HKLM,\"SOFTWARE\\VANTO\\C0\",\"\",0"),
              ItemTargets(LIST_REGISTRY_KEYS, "hklm,SOFTWARE\\VANTO\\C0\\,,1"));
    EXPECT_NE(ItemTargets(LIST_REGISTRY_KEYS, "HKLM,SOFTWARE\\VANTO\\C0,,1"),
              ItemTargets(LIST_REGISTRY_KEYS, "HKCU,SOFTWARE\\VANTO\\C0,,1"));
    EXPECT_NE(ItemTargets(LIST_REGISTRY_KEYS, "HKLM,SOFTWARE\\VANTO\\C0,,1"),
              ItemTargets(LIST_REGISTRY_KEYS, "HKLM,SOFTWARE\\VANTO\\C0,Val,1"));
    EXPECT_EQ(Targets{"vanto monitor"}, ItemTargets(LIST_MONITORS, "Vanto Monitor"));
}

TEST_F(Database, StartupShortcutsOfAnyGroupShareTheStartupFolders)
{
    AddProfile("Chosen Driver", DRIVER, {}).shortcuts = {"\"G0\",\"Status\",STARTUP", "G0,Help"};
    AddProfile("Kept Driver", DRIVER, {}).shortcuts = {"\"G1\",\"Status.lnk\",STARTUP", "G1,Help"};
    Load();
    AddPrinter("P1", "Chosen Driver", true);
    AddPrinter("P2", "Kept Driver", false);
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"G0,Help"}, database.removalProfile.shortcuts);
}

TEST_F(Database, AnItemWrittenDifferentlyByAPrinterThatStaysIsKept)
{
    UninstallProfile& chosen = AddProfile("Chosen Driver", DRIVER, {"a.dll", "b.dll", "c.dll"});
    chosen.deleteIni = {"vanto.ini,S,K", "vanto.ini,S,Other"};
    chosen.deleteLoadRun = {"\"Status\",\"a.exe\""};
    chosen.shortcuts = {"Vanto,Help.lnk"};
    chosen.registryKeys = {"HKLM,\"SOFTWARE\\VANTO\\C0\",\"\",0", "HKLM,SOFTWARE\\VANTO\\C1,,1"};
    UninstallProfile& kept = AddProfile("Kept Driver", DRIVER, {"A.DLL=resources", "sub\\b.dll"});
    kept.deleteIni = {"C:\\other\\VANTO.INI,s,k"};
    kept.deleteLoadRun = {"Status,b.exe"};
    kept.shortcuts = {"\"Vanto\",\"Help\",STARTUP"};
    kept.registryKeys = {"HKLM,SOFTWARE\\VANTO\\C0,,1"};
    Load();
    AddPrinter("P1", "Chosen Driver", true);
    AddPrinter("P2", "Kept Driver", false);
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"c.dll"}, Removed());
    EXPECT_EQ(TextList{"vanto.ini,S,Other"}, database.removalProfile.deleteIni);
    EXPECT_TRUE(database.removalProfile.deleteLoadRun.empty());
    EXPECT_TRUE(database.removalProfile.shortcuts.empty());
    EXPECT_EQ(TextList{"HKLM,SOFTWARE\\VANTO\\C1,,1"}, database.removalProfile.registryKeys);
}

TEST_F(Database, TheAddOnStaysWithThePrintersEvenWhereAnotherProfileNamesItsItems)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll", "pell.dll=shared"}).registryKeys = {"HKLM,SOFTWARE\\VANTO,,1"};
    AddProfile("Vanto LY", DRIVER, {"ly.dll"});
    AddProfile("Pellivance", DRIVER, {"PELLIV32.EXE", "pell.dll"}).registryKeys = {
        "HKLM,SOFTWARE\\VANTO\\Pellivance,,1"};
    Load();
    AddPrinter("P1", "Vanto LX", true);
    InstalledPrinter& second = AddPrinter("P2", "Vanto LY", false);
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"lx.dll"}, Removed());
    // Its key lies in a tree that goes: the registry step must know it stays.
    EXPECT_TRUE(Has(database.keepProfile.registryKeys, "HKLM,SOFTWARE\\VANTO\\Pellivance,,1"));

    // With the last printer it goes after all.
    second.excluded = 0;
    database.BuildRemovalProfile();
    EXPECT_TRUE(Has(Removed(), "pell.dll"));
    EXPECT_FALSE(Has(database.keepProfile.registryKeys, "HKLM,SOFTWARE\\VANTO\\Pellivance,,1"));
}

TEST_F(Database, WithUnpellTheAddOnGoesAlthoughPrintersStay)
{
    AddProfile("Vanto LX", DRIVER, {"lx.dll"});
    AddProfile("Pellivance", DRIVER, {"PELLIV32.EXE"}).registryKeys = {"HKLM,SOFTWARE\\VANTO\\Pellivance,,1"};
    Load("trelun08.exe /UNPELL");
    AddPrinter("P1", "Vanto LX", false);
    database.BuildRemovalProfile();
    EXPECT_EQ(TextList{"PELLIV32.EXE"}, Removed());
    EXPECT_TRUE(database.keepProfile.registryKeys.empty());
}
