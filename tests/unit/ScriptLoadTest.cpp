#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "IniDocument.h"
#include "ScriptReader.h"
#include "TempDir.h"
#include "UninstallDatabase.h"

namespace {

class ScriptLoad : public ::testing::Test {
protected:
    std::string Script(const std::string& relative, const std::string& text)
    {
        EXPECT_TRUE(dir.Write(relative, text));
        return dir.Join(relative);
    }
    const UninstallProfile* Profile(const char* name) const
    {
        for (const UninstallProfile& profile : database.profiles) {
            if (TextEquals(profile.name, name))
                return &profile;
        }
        return nullptr;
    }
    int CountProblems(ScriptProblemKind kind) const
    {
        int count = 0;
        for (const ScriptProblem& problem : problems)
            count += problem.kind == kind;
        return count;
    }

    TempDir dir;
    UninstallDatabase database;
    ScriptProblemLog problems;
};

}  // namespace

TEST_F(ScriptLoad, StarterSectionsDeclareProfilesWithTheirCategories)
{
    const std::string path = Script("VUNZ__08.unm",
                                    "[UnPrinterMfgs]\r\nAlpha=Beta,VC,1\r\n"
                                    "[UnPrinterDrivers]\r\n\"Vanto LX\",LX,2\r\nAlpha=Beta,VC,1\r\n"
                                    "[Unz_CatchAll]\r\nShared,SH\r\n"
                                    "[Unx_Ignore]\r\nKeep,IG,-1\r\n"
                                    "[VC.Files]\r\nb.dll\r\nA.DLL\r\na.dll\r\n"
                                    "[LX.Services]\r\nlxsvc\r\n"
                                    "[LX.RegistryKeys]\r\nHKLM, SOFTWARE\\VANTO\\LX , , 1\r\n"
                                    "[SH.Monitors]\r\nVanto Port\r\n");
    ASSERT_EQ(1, database.LoadScript(path.c_str()));
    ASSERT_EQ(5u, database.profiles.size());
    // Sorted by name; "Alpha=Beta" of [UnPrinterMfgs] and "Alpha" of [UnPrinterDrivers] differ.
    EXPECT_STREQ("Alpha", database.profiles[0].name);
    EXPECT_STREQ("Alpha=Beta", database.profiles[1].name);

    const UninstallProfile* mfg = Profile("Alpha=Beta");
    ASSERT_NE(nullptr, mfg);
    EXPECT_EQ(1, mfg->isManufacturer);
    EXPECT_STREQ("VC", mfg->prefix);
    EXPECT_EQ((TextList{"A.DLL", "b.dll"}), mfg->files);
    EXPECT_TRUE(mfg->drivers.empty());
    EXPECT_STREQ(path.c_str(), mfg->scriptPath);

    const UninstallProfile* driverOnly = Profile("Alpha");
    ASSERT_NE(nullptr, driverOnly);
    EXPECT_STREQ("", driverOnly->prefix);
    EXPECT_EQ(0, driverOnly->number);
    EXPECT_EQ(TextList{"Alpha"}, driverOnly->drivers);

    const UninstallProfile* driver = Profile("Vanto LX");
    ASSERT_NE(nullptr, driver);
    EXPECT_EQ(2, driver->number);
    EXPECT_EQ(TextList{"lxsvc"}, driver->services);
    EXPECT_EQ(TextList{"HKLM, SOFTWARE\\VANTO\\LX , , 1"}, driver->registryKeys);
    EXPECT_EQ(TextList{"Vanto LX"}, driver->drivers);

    const UninstallProfile* shared = Profile("Shared");
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(1, shared->isCatchAll);
    EXPECT_EQ(TextList{"Vanto Port"}, shared->monitors);
    EXPECT_EQ(TextList{"Shared"}, shared->drivers);
    const UninstallProfile* keep = Profile("Keep");
    ASSERT_NE(nullptr, keep);
    EXPECT_EQ(1, keep->isIgnore);
    EXPECT_EQ(-1, keep->number);
}

TEST_F(ScriptLoad, TheFirstLoadedProfileOfANameWinsWhole)
{
    const std::string first = Script("a\\VUNZ__08.unm",
                                     "[UnPrinterDrivers]\r\nVanto LX,A\r\n[A.Files]\r\nfirst.dll\r\n");
    const std::string second =
        Script("b\\VUNZ__08.unm",
               "[UnPrinterMfgs]\r\nVANTO lx,B\r\n[UnPrinterDrivers]\r\nOther,B\r\n"
               "[B.Files]\r\nsecond.dll\r\n[B.Hooks]\r\nh.dll,f\r\n");
    database.SetProblemLog(&problems);
    ASSERT_EQ(1, database.LoadScript(first.c_str()));
    ASSERT_EQ(1, database.LoadScript(second.c_str()));
    const UninstallProfile* winner = Profile("vanto lx");
    ASSERT_NE(nullptr, winner);
    EXPECT_EQ(0, winner->isManufacturer);
    EXPECT_EQ(TextList{"first.dll"}, winner->files);
    EXPECT_TRUE(winner->hooks.empty());  // the loser's lists are not merged
    EXPECT_EQ(2u, database.profiles.size());
    ASSERT_EQ(1, CountProblems(PROBLEM_PROFILE_DROPPED));

    // Within one script [UnPrinterMfgs] comes before [UnPrinterDrivers].
    UninstallDatabase other;
    const std::string both = Script("c\\VUNZ__08.unm",
                                    "[UnPrinterDrivers]\r\nSame,D\r\n[UnPrinterMfgs]\r\nsame,M\r\n"
                                    "[Unx_Ignore]\r\nSAME,I\r\n");
    ASSERT_EQ(1, other.LoadScript(both.c_str()));
    ASSERT_EQ(1u, other.profiles.size());
    EXPECT_EQ(1, other.profiles[0].isManufacturer);
    EXPECT_STREQ("M", other.profiles[0].prefix);
}

TEST_F(ScriptLoad, RejectedScriptsChangeNothing)
{
    database.SetProblemLog(&problems);
    const std::string settingsOnly =
        Script("s.unm", "[CommandlineParam]\r\nNOPICK=1\r\nRemoveOEMInf=1\r\nOEMInfMatchLineString=x\r\n"
                        "[UnScannerDriver]\r\nUninstallScanner=1\r\nProductGUID={G}\r\n"
                        "[UnPrinterDrivers]\r\n");
    EXPECT_EQ(0, database.LoadScript(settingsOnly.c_str()));
    EXPECT_EQ(0, database.LoadScript(dir.Join("missing.unm").c_str()));
    EXPECT_EQ(0, database.LoadScript(Script("empty.unm", "").c_str()));
    EXPECT_EQ(0, database.LoadScript(""));
    EXPECT_EQ(0, database.LoadScript((dir.Path() + std::string(300, 'x')).c_str()));
    EXPECT_EQ(1, database.pick);
    EXPECT_EQ(0, database.removeOemInf);
    EXPECT_EQ(0, database.uninstallScanner);
    EXPECT_STREQ("", database.productGuid);
    EXPECT_TRUE(database.profiles.empty());
    ASSERT_EQ(5, CountProblems(PROBLEM_SCRIPT_REJECTED));
    EXPECT_EQ("rejected: no starter sections", problems[0].message);
    EXPECT_EQ("rejected: failed to open file", problems[1].message);
}

TEST_F(ScriptLoad, AScriptOverTheSizeLimitIsRejectedAndSaysWhy)
{
    database.SetProblemLog(&problems);
    std::string text = "[UnPrinterDrivers]\r\n\"Vanto LX\",LX,2\r\n";
    text.resize(IniDocument::kMaxFileSize + 1, ';');
    const std::string path = Script("big.unm", text);
    EXPECT_EQ(0, database.LoadScript(path.c_str()));
    EXPECT_TRUE(database.profiles.empty());
    ASSERT_EQ(1u, problems.size());
    EXPECT_EQ("rejected: larger than 16 MB, the most a script may hold", problems[0].message);
    EXPECT_EQ("larger than 16 MB, the most a script may hold", database.LastRejection());
}

TEST_F(ScriptLoad, SettingsOnlyEverMoveOneWay)
{
    const std::string noPick0 = Script("a.unm", "[UnPrinterDrivers]\r\nA\r\n[CommandlineParam]\r\nNOPICK=0\r\n");
    const std::string noPick1 = Script("b.unm", "[UnPrinterDrivers]\r\nB\r\n[CommandlineParam]\r\nNOPICK=1\r\n"
                                                "RemoveOEMInf=1\r\nOEMInfMatchLineNumber=2\r\n"
                                                "OEMInfMatchLineString=; Vanto package\r\n");
    const std::string neither = Script("c.unm", "[UnPrinterDrivers]\r\nC\r\n[CommandlineParam]\r\n"
                                                "NOPICK=0\r\nRemoveOEMInf=0\r\n");
    ASSERT_EQ(1, database.LoadScript(noPick0.c_str()));
    EXPECT_EQ(1, database.pick);
    ASSERT_EQ(1, database.LoadScript(noPick1.c_str()));
    ASSERT_EQ(1, database.LoadScript(neither.c_str()));
    EXPECT_EQ(0, database.pick);
    EXPECT_EQ(1, database.removeOemInf);
    EXPECT_EQ(2, database.oemInfMatchLineNumber);
    EXPECT_STREQ("; Vanto package", database.oemInfMatchLineString);
}

TEST_F(ScriptLoad, AnEmptyOrOverlongInfMarkerNeverAsksForInfRemoval)
{
    database.SetProblemLog(&problems);
    const std::string empty = Script("a.unm", "[UnPrinterDrivers]\r\nA\r\n[CommandlineParam]\r\n"
                                              "RemoveOEMInf=1\r\nOEMInfMatchLineNumber=1\r\n");
    const std::string overlong =
        Script("b.unm", "[UnPrinterDrivers]\r\nB\r\n[CommandlineParam]\r\nRemoveOEMInf=1\r\n"
                        "OEMInfMatchLineNumber=1\r\nOEMInfMatchLineString=" + std::string(259, 'm') + "n\r\n");
    ASSERT_EQ(1, database.LoadScript(empty.c_str()));
    ASSERT_EQ(1, database.LoadScript(overlong.c_str()));
    EXPECT_EQ(0, database.removeOemInf);
    EXPECT_EQ(0, database.oemInfMatchLineNumber);
    EXPECT_STREQ("", database.oemInfMatchLineString);
    EXPECT_EQ(2, CountProblems(PROBLEM_SETTING_REFUSED));
}

TEST_F(ScriptLoad, ScannerUninstallNeedsAProductGuid)
{
    const std::string noGuid = Script("a.unm", "[UnPrinterDrivers]\r\nA\r\n[UnScannerDriver]\r\nUninstallScanner=1\r\n");
    ASSERT_EQ(1, database.LoadScript(noGuid.c_str()));
    EXPECT_EQ(0, database.uninstallScanner);

    const std::string withGuid =
        Script("b.unm", "[UnPrinterDrivers]\r\nB\r\n[UnScannerDriver]\r\nUninstallScanner=1\r\nProductGUID={1234}\r\n");
    ASSERT_EQ(1, database.LoadScript(withGuid.c_str()));
    EXPECT_EQ(1, database.uninstallScanner);
    EXPECT_STREQ("{1234}", database.productGuid);

    // A later script with the section re-reads the identifier; without one
    // the scanner driver is not uninstalled after all.
    const std::string later = Script("c.unm", "[UnPrinterDrivers]\r\nC\r\n[UnScannerDriver]\r\nUninstallScanner=0\r\n");
    ASSERT_EQ(1, database.LoadScript(later.c_str()));
    EXPECT_EQ(0, database.uninstallScanner);

    const std::string overlong = Script("d.unm", "[UnPrinterDrivers]\r\nD\r\n[UnScannerDriver]\r\nUninstallScanner=1\r\n"
                                                 "ProductGUID=" + std::string(260, 'g') + "\r\n");
    ASSERT_EQ(1, database.LoadScript(overlong.c_str()));
    EXPECT_EQ(0, database.uninstallScanner);
    EXPECT_STREQ("", database.productGuid);
}

TEST_F(ScriptLoad, EveryItemIsReadAndOverlongItemsAreSkippedWhole)
{
    // Key and value fit, the whole manufacturer line does not.
    std::string text = "[UnPrinterMfgs]\r\n" + std::string(200, 'm') + "=" + std::string(60, 'n') + ",VC,1\r\n";
    text += "[UnPrinterDrivers]\r\n";
    for (int i = 0; i < 40; ++i)
        text += "Vanto Driver Number " + std::to_string(i) + ",VC," + std::to_string(i) + "\r\n";
    text += "[VC.Files]\r\n";
    for (int i = 0; i < 400; ++i)
        text += "vanto_file_" + std::to_string(i) + ".dll\r\n";
    text += std::string(255, 'f') + "=long\r\n";  // key and value fit, the item does not
    text += std::string(259, 'k') + "\r\n";
    database.SetProblemLog(&problems);
    ASSERT_EQ(1, database.LoadScript(Script("big.unm", text).c_str()));

    ASSERT_EQ(40u, database.profiles.size());
    const UninstallProfile* last = Profile("Vanto Driver Number 39");
    ASSERT_NE(nullptr, last);
    ASSERT_EQ(401u, last->files.size());
    EXPECT_EQ(std::string(259, 'k'), last->files.front());
    for (const std::string& file : last->files)
        EXPECT_LT(file.size(), 260u);
    // The overlong starter line and the overlong item, each told once
    // although forty profiles share the prefix; and the three sections
    // older uninstallers read only in part.
    EXPECT_EQ(2, CountProblems(PROBLEM_ITEM_TOO_LONG));
    EXPECT_EQ(3, CountProblems(PROBLEM_SECTION_OVER_BUFFER));
}

TEST_F(ScriptLoad, ReaderReportsWhatAnAuthorShouldFix)
{
    const std::string path =
        Script("w.unm", "[UnPrinterDrivers]\r\nVanto,V\r\n[V.RegistryKeys]\r\nHKLM,\"SOFTWARE\\VANTO\",\"\",1\r\n"
                        "HKEY_LOCAL_MACHINE,x,,1\r\nHKCU,only\r\nHKCU,\"\",\"\",1\r\n"
                        "[Typo.Files]\r\nx.dll\r\n[v.files]\r\ny.dll\r\n"
                        "[V.Services]\r\n" + std::string(260, 's') + "=1\r\n");
    database.SetProblemLog(&problems);
    ASSERT_EQ(1, database.LoadScript(path.c_str()));
    EXPECT_EQ(3, CountProblems(PROBLEM_BAD_REGISTRY_LINE));
    ASSERT_EQ(1, CountProblems(PROBLEM_UNUSED_SECTION));
    ASSERT_EQ(1, CountProblems(PROBLEM_LINE_REFUSED));
    for (const ScriptProblem& problem : problems) {
        EXPECT_EQ(path, problem.scriptPath);
        if (problem.kind == PROBLEM_UNUSED_SECTION) {
            EXPECT_NE(std::string::npos, problem.message.find("[Typo.Files]"));
        }
        if (problem.kind == PROBLEM_LINE_REFUSED) {
            EXPECT_NE(std::string::npos, problem.message.find("line 13 of [V.Services]"));
        }
    }
    // Registry lines are reported, not changed: the removal skips them itself.
    ASSERT_NE(nullptr, Profile("Vanto"));
    EXPECT_EQ(4u, Profile("Vanto")->registryKeys.size());
}

TEST_F(ScriptLoad, ReadCategoryAndBuildProfileDirectly)
{
    IniDocument script;
    ASSERT_TRUE(script.Load(Script("d.unm", "[.Files]\r\nlead.dll\r\n[P.Hooks]\r\nz.dll,f\r\nA.dll,g\r\n"
                                            "[P.Monitors]\r\n[P.Files]\r\n=\r\n").c_str()));
    TextList list{"stale"};
    EXPECT_EQ(1, ReadCategory(script, "P", "hooks", list));
    EXPECT_EQ((TextList{"A.dll,g", "z.dll,f"}), list);
    EXPECT_EQ(0, ReadCategory(script, "P", "Monitors", list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(0, ReadCategory(script, "P", "Files", list));  // an empty item is no item
    EXPECT_EQ(0, ReadCategory(script, "Q", "Files", list));

    // A starter line without commas names sections with a leading dot.
    UninstallProfile profile;
    BuildProfile(profile, script, "Bare");
    EXPECT_STREQ("Bare", profile.name);
    EXPECT_STREQ("", profile.prefix);
    EXPECT_EQ(TextList{"lead.dll"}, profile.files);
}
