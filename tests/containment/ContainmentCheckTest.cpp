// The containment rules themselves: a removal that stays inside its profile
// passes, and each way of stepping outside it is reported.
#include <gtest/gtest.h>

#include <functional>

#include "ContainmentCheck.h"
#include "ScriptItems.h"

namespace {

using namespace containment;

const char kKeptDriverKey[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\Corvel M3";

Layout FixedLayout()
{
    Layout layout;
    layout.system = "C:\\sys\\";
    layout.windows = "C:\\win\\";
    layout.color = "C:\\sys\\spool\\drivers\\color\\";
    layout.driver = "C:\\sys\\spool\\drivers\\w32x86\\";
    layout.driver40 = "C:\\sys\\spool\\drivers\\win40\\";
    layout.processor = "C:\\sys\\spool\\prtprocs\\w32x86\\";
    layout.processor40 = "C:\\sys\\spool\\prtprocs\\win40\\";
    layout.inf = "C:\\win\\inf\\";
    layout.programs = "C:\\menu\\";
    layout.commonPrograms = "C:\\common menu\\";
    layout.oemRoot = "C:\\pf\\Vanto Contain\\";
    layout.decoyRoot = "C:\\vzdecoy\\";
    return layout;
}

void AddFile(SystemState& state, const std::string& path)
{
    FileRecord record;
    record.path = path;
    record.size = 10;
    state.files[Lower(path)] = record;
}

void AddKey(SystemState& state, const std::string& path, const std::string& value)
{
    KeyRecord record;
    record.path = path;
    if (!value.empty())
        record.values[Lower(value)] = ValueRecord{value, REG_SZ, "a"};
    state.registry[Lower(path)] = record;
}

spoolsim::Printer Printer(const std::string& name, const std::string& driver)
{
    spoolsim::Printer printer;
    printer.name = name;
    printer.driver = driver;
    printer.attributes = 0x40;
    return printer;
}

class ContainmentCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        layout = FixedLayout();
        GeneratedProfile removed;
        removed.name = "Vanto L1 PCL";
        removed.prefix = "P0";
        removed.items["Files"] = {"vzf0.dll"};
        removed.items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C0,,1"};
        GeneratedProfile kept;
        kept.name = "Corvel M3";
        kept.prefix = "P1";
        kept.items["Files"] = {"vzf1.dll=x"};
        kept.items["RegistryKeys"] = {"HKLM,SOFTWARE\\VANTO\\C1,Val0,0"};
        installation.profiles = {removed, kept};
        installation.oemPathValues = {layout.oemRoot + "Drivers", "C:\\"};

        database.printers.Append(MakeRecord("VZ Impresora 0", "Vanto L1 PCL", 0));
        database.printers.Append(MakeRecord("VZ Impresora 1", "Corvel M3", 1));
        InstalledPrinter foreign = MakeRecord("VZ Ajena 0", "Otra Marca 9", 1);
        foreign.foreign = 1;
        database.printers.Append(foreign);
        database.removalProfile.files = {"vzf0.dll"};
        database.removalProfile.registryKeys = {"HKLM,SOFTWARE\\VANTO\\C0,,1"};
        database.keptPrinterCount = 1;
        database.utilityNotTargeted = 1;
        record.planned.Assign(database.removalProfile);
        record.selected = {"VZ Impresora 0"};

        for (const char* path :
             {"C:\\sys\\vzf0.dll", "C:\\sys\\sub\\vzf0.dll", "C:\\sys\\spool\\drivers\\w32x86\\3\\a\\vzf0.dll",
              "C:\\sys\\spool\\drivers\\w32x86\\3\\a\\b\\vzf0.dll", "C:\\pf\\Vanto Contain\\Drivers\\a\\b\\c\\vzf0.dll",
              "C:\\pf\\Vanto Contain\\Drivers\\a\\b\\c\\d\\vzf0.dll", "C:\\pf\\Vanto Contain\\vzf0.dll",
              "C:\\vzdecoy\\vzf0.dll", "C:\\sys\\vzf1.dll", "C:\\sys\\other.dll"})
            AddFile(before, path);
        AddKey(before, "HKLM\\SOFTWARE\\VANTO\\C0", "Val0");
        AddKey(before, "HKLM\\SOFTWARE\\VANTO\\C0X", "Val0");
        AddKey(before, "HKLM\\SOFTWARE\\VANTO\\C1", "Val0");
        AddKey(before, kKeptDriverKey, "Driver");
        before.spooler.printers = {Printer("VZ Impresora 0", "Vanto L1 PCL"), Printer("VZ Impresora 1", "Corvel M3"),
                                   Printer("VZ Ajena 0", "Otra Marca 9")};
        for (int i = 0; i < 2; ++i)
            before.spooler.printers[i].data.push_back({"VantoDriver08", "1"});
        for (const char* driver : {"Vanto L1 PCL", "Corvel M3", "Otra Marca 9"}) {
            spoolsim::Driver entry;
            entry.name = driver;
            before.spooler.drivers.push_back(entry);
        }
    }

    static InstalledPrinter MakeRecord(const char* name, const char* driver, int excluded)
    {
        InstalledPrinter printer;
        printer.SetName(name);
        printer.SetDriverName(driver);
        printer.isHalvaprint = 1;
        printer.excluded = excluded;
        return printer;
    }

    // What a removal inside the profile does.
    SystemState Contained() const
    {
        SystemState after = before;
        for (const char* path : {"C:\\sys\\vzf0.dll", "C:\\sys\\spool\\drivers\\w32x86\\3\\a\\vzf0.dll",
                                 "C:\\pf\\Vanto Contain\\Drivers\\a\\b\\c\\vzf0.dll"})
            after.files.erase(Lower(path));
        after.registry.erase(Lower(std::string("HKLM\\SOFTWARE\\VANTO\\C0")));
        after.spooler.printers.erase(after.spooler.printers.begin());
        after.spooler.drivers.erase(after.spooler.drivers.begin());
        return after;
    }

    std::vector<std::string> Check(const SystemState& after) const
    {
        return CheckContainment(installation, layout, database, record, before, after);
    }

    Layout layout;
    Installation installation;
    UninstallDatabase database;
    RemovalRecord record;
    SystemState before;
};

bool Mentions(const std::vector<std::string>& violations, const std::string& text)
{
    for (const std::string& line : violations) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

std::string Joined(const std::vector<std::string>& violations)
{
    std::string text;
    for (const std::string& line : violations)
        text += line + "\n";
    return text;
}

}  // namespace

TEST_F(ContainmentCheckTest, ARemovalInsideItsProfilePasses)
{
    const std::vector<std::string> violations = Check(Contained());
    EXPECT_TRUE(violations.empty()) << Joined(violations);
}

TEST_F(ContainmentCheckTest, EachStepOutsideTheProfileIsReported)
{
    struct Case {
        const char* what;
        std::function<void(SystemState&)> change;
        const char* reported;
    };
    const Case cases[] = {
        {"below a flat directory", [](SystemState& s) { s.files.erase(Lower("C:\\sys\\sub\\vzf0.dll")); },
         "file removed outside the profile: C:\\sys\\sub\\vzf0.dll"},
        {"three levels into a driver tree",
         [](SystemState& s) { s.files.erase(Lower("C:\\sys\\spool\\drivers\\w32x86\\3\\a\\b\\vzf0.dll")); },
         "w32x86\\3\\a\\b\\vzf0.dll"},
        {"four levels into the OEM path",
         [](SystemState& s) { s.files.erase(Lower("C:\\pf\\Vanto Contain\\Drivers\\a\\b\\c\\d\\vzf0.dll")); },
         "Drivers\\a\\b\\c\\d\\vzf0.dll"},
        {"the parent of the OEM path",
         [](SystemState& s) { s.files.erase(Lower("C:\\pf\\Vanto Contain\\vzf0.dll")); },
         "C:\\pf\\Vanto Contain\\vzf0.dll"},
        {"a recorded drive root is no OEM path",
         [](SystemState& s) { s.files.erase(Lower("C:\\vzdecoy\\vzf0.dll")); }, "C:\\vzdecoy\\vzf0.dll"},
        {"a name the profile does not list", [](SystemState& s) { s.files.erase(Lower("C:\\sys\\other.dll")); },
         "C:\\sys\\other.dll"},
        {"a file a printer that stays needs", [](SystemState& s) { s.files.erase(Lower("C:\\sys\\vzf1.dll")); },
         "needed by Corvel M3"},
        {"a key beside the profile's key",
         [](SystemState& s) { s.registry.erase(Lower(std::string("HKLM\\SOFTWARE\\VANTO\\C0X"))); },
         "key removed: HKLM\\SOFTWARE\\VANTO\\C0X outside the profile"},
        {"a value a printer that stays names",
         [](SystemState& s) { s.registry[Lower(std::string("HKLM\\SOFTWARE\\VANTO\\C1"))].values.clear(); },
         "which a profile that stays names"},
        {"a foreign printer",
         [](SystemState& s) { s.spooler.printers.pop_back(); }, "printer removed that was not chosen: VZ Ajena 0"},
        {"a chosen printer left behind",
         [](SystemState& s) {
             s.spooler.printers.insert(s.spooler.printers.begin(), Printer("VZ Impresora 0", "Vanto L1 PCL"));
         },
         "chosen printer still installed"},
        {"the spooler's record of a driver a printer that stays uses",
         [](SystemState& s) { s.registry.erase(Lower(std::string(kKeptDriverKey))); },
         "driver key removed that a remaining printer uses"},
        {"the driver of a printer that stays",
         [](SystemState& s) { s.spooler.drivers.erase(s.spooler.drivers.begin()); },
         "driver removed that a remaining printer uses: Corvel M3"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        SystemState after = Contained();
        test.change(after);
        const std::vector<std::string> violations = Check(after);
        EXPECT_TRUE(Mentions(violations, test.reported)) << Joined(violations);
    }
}

TEST_F(ContainmentCheckTest, DecoysMustSurviveWhateverTheProfileSays)
{
    installation.decoyFiles = {"C:\\vzdecoy-never-made\\vzf0.dll"};
    installation.foreignPrinters = {"VZ Ajena 0"};
    SystemState after = Contained();
    after.spooler.printers.pop_back();
    const std::vector<std::string> violations = Check(after);
    EXPECT_TRUE(Mentions(violations, "decoy file gone: C:\\vzdecoy-never-made\\vzf0.dll")) << Joined(violations);
    EXPECT_TRUE(Mentions(violations, "foreign printer gone: VZ Ajena 0")) << Joined(violations);
}

TEST(RegistryLineParsing, FieldsWithoutQuotesAndCode)
{
    ParsedLine line;
    ASSERT_TRUE(ParseLine("hklm,\"SOFTWARE\\VANTO\\C0\\\",\"Val\",1", line));
    EXPECT_EQ("HKLM", line.root);
    EXPECT_EQ("SOFTWARE\\VANTO\\C0", line.key);
    EXPECT_EQ("Val", line.value);
    EXPECT_TRUE(line.hasFlag);
    EXPECT_EQ("1", line.flag);
    ASSERT_TRUE(ParseLine("HKCU,Key,", line));
    EXPECT_FALSE(line.hasFlag);
    EXPECT_FALSE(ParseLine("HKLM,Key", line));
    EXPECT_FALSE(ParseLine("HKXX,Key,,1", line));
}
