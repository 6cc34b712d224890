#include <algorithm>
#include <random>

#include "Installation.h"
#include "PackageNames.h"

namespace containment {

namespace {

class Random {
public:
    explicit Random(unsigned seed) : engine(seed) {}
    bool Chance(int percent) { return std::uniform_int_distribution<int>(1, 100)(engine) <= percent; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
    template <typename T, std::size_t N> T Pick(const T (&choices)[N]) { return choices[Between(0, N - 1)]; }
    template <typename T> const T& Pick(const std::vector<T>& choices)
    {
        return choices[Between(0, static_cast<int>(choices.size()) - 1)];
    }
    // Letter case as a script author might have typed it.
    std::string Case(std::string text)
    {
        const int style = Between(0, 3);
        for (char& c : text) {
            if (style == 1 && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
            else if (style == 2 && c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        }
        return text;
    }
    std::mt19937& Engine() { return engine; }

private:
    std::mt19937 engine;
};

void AddItem(GeneratedProfile& profile, const char* category, const std::string& item)
{
    profile.items[category].push_back(item);
}

std::string RegistryLineFor(Random& random, const KeyPlace& place)
{
    std::string key = place.key;
    if (random.Chance(30))
        key += "\\Sub";
    const std::string root = place.rootName;
    switch (random.Between(0, 6)) {
    case 0: return root + "," + key + ",,1";
    case 1: return root + ",\"" + key + "\",\"\",0";
    case 2: return root + "," + key + ",,";
    case 3: return root + "," + key + ",";
    case 4: return root + "," + key + ",Val0,0";
    case 5: return root + ",\"" + key + "\",\"Val1\",1";
    default: return root + "," + key + ",,4";
    }
}

void FillProfile(Random& random, GeneratedProfile& profile, bool addOn, bool catchAll)
{
    const int fileCount = random.Between(addOn ? 0 : 1, 4);
    for (int i = 0; i < fileCount; ++i) {
        std::string file = random.Case(random.Pick(kFilePool));
        if (random.Chance(15))
            file += "=resources";
        AddItem(profile, "Files", file);
    }
    if (addOn)
        AddItem(profile, "Files", random.Chance(50) ? kUtility : "pelliv32.exe");
    if (catchAll && random.Chance(40))
        AddItem(profile, "Files", kRestart);
    for (int i = random.Between(0, 3); i > 0; --i)
        AddItem(profile, "RegistryKeys", RegistryLineFor(random, random.Pick(kKeyPool)));
    if (random.Chance(40))
        AddItem(profile, "Monitors", random.Pick(kMonitors));
    if (random.Chance(40))
        AddItem(profile, "PrintProcessors", random.Pick(kProcessors));
    if (random.Chance(40))
        AddItem(profile, "Services", random.Pick(kServices));
    for (int i = random.Between(0, 2); i > 0; --i) {
        const std::string group = random.Pick(kGroups);
        const std::string item = random.Pick(kItems);
        switch (random.Between(0, 3)) {
        case 0: AddItem(profile, "Shortcuts", "\"" + group + "\",\"" + item + "\""); break;
        case 1: AddItem(profile, "Shortcuts", group + "," + item + ".lnk"); break;
        case 2: AddItem(profile, "Shortcuts", "\"" + group + "\",\"" + item + "\",STARTUP"); break;
        default: AddItem(profile, "Shortcuts", "\"" + group + "\","); break;
        }
    }
    for (int i = random.Between(0, 2); i > 0; --i) {
        const std::string file = random.Chance(20) ? std::string("C:\\vzdecoy\\") + kIniFiles[0] : kIniFiles[0];
        AddItem(profile, "DeleteIni",
                random.Case(file) + ",S" + std::to_string(random.Between(0, 1)) + ",K" +
                    std::to_string(random.Between(0, 3)));
    }
    if (random.Chance(40)) {
        const int run = random.Between(0, 2);
        AddItem(profile, "DeleteLoadRun",
                std::string("\"") + kRunValues[run] + "\",\"vzrun" + std::to_string(run) + ".exe\"");
    }
    if (random.Chance(30))
        AddItem(profile, "Hooks", "vzhook" + std::to_string(random.Between(0, 1)) + ".dll,Unregister");
    if (random.Chance(30))
        AddItem(profile, "UnSelfRegister", std::string(random.Pick(kFilePool)) + ",DllUnregisterServer");
}

void AddProfile(Installation& installation, Random& random, const std::string& name, ProfileKind kind)
{
    GeneratedProfile profile;
    profile.name = name;
    profile.kind = kind;
    profile.prefix = "P" + std::to_string(installation.profiles.size());
    FillProfile(random, profile, name == kAddOn, kind == ProfileKind::CatchAll);
    installation.profiles.push_back(profile);
}

spoolsim::Printer MakeLocalPrinter(const std::string& name, const std::string& driver)
{
    spoolsim::Printer printer;
    printer.name = name;
    printer.port = "LPT1:";
    printer.driver = driver;
    printer.attributes = 0x40;
    return printer;
}

void AddDriver(Installation& installation, const std::string& name, const std::string& environment)
{
    for (const spoolsim::Driver& driver : installation.spooler.drivers) {
        if (SameText(driver.name, name) && SameText(driver.environment, environment))
            return;
    }
    spoolsim::Driver driver;
    driver.name = name;
    driver.environment = environment;
    driver.version = environment.empty() ? 3 : 0;
    installation.spooler.drivers.push_back(driver);
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, (environment.empty() ? kDriversNT : kDrivers9x) + name,
                     "Driver", "vzdriver.dll");
}

void GeneratePrinters(Installation& installation, Random& random)
{
    std::vector<std::string> drivers(std::begin(kPackageDrivers), std::end(kPackageDrivers));
    std::vector<spoolsim::Printer> local;
    std::vector<std::string> packageNames;
    const int packageCount = random.Between(1, 4);
    for (int i = 0; i < packageCount; ++i) {
        std::string driver = random.Pick(drivers);
        if (random.Chance(15))
            driver = random.Pick(kUnclaimedDrivers);
        else if (random.Chance(5))
            driver = kAddOn;
        else if (random.Chance(5))
            driver = kForeignDrivers[0];
        spoolsim::Printer printer = MakeLocalPrinter("VZ Impresora " + std::to_string(i), driver);
        printer.data.push_back({"VantoDriver08", "1"});
        packageNames.push_back(printer.name);
        local.push_back(printer);
    }
    std::vector<std::string> foreignNames;
    const int foreignCount = random.Between(1, 2);
    for (int i = 0; i < foreignCount; ++i) {
        const std::string driver = random.Chance(30) ? random.Pick(drivers) : random.Pick(kForeignDrivers);
        spoolsim::Printer printer = MakeLocalPrinter("VZ Ajena " + std::to_string(i), driver);
        foreignNames.push_back(printer.name);
        local.push_back(printer);
    }
    if (random.Chance(20)) {
        // A printer named like a PostScript driver keeps that driver alive.
        const std::string name = random.Chance(50) ? kPackageDrivers[4] : kPackageDrivers[3];
        spoolsim::Printer printer = MakeLocalPrinter(name, name);
        if (random.Chance(50))
            printer.data.push_back({"VantoDriver08", "1"});
        else
            foreignNames.push_back(name);
        local.push_back(printer);
    }
    for (int i = random.Between(0, 2); i > 0; --i) {
        spoolsim::Printer printer = MakeLocalPrinter("VZ Pelled " + std::to_string(i), random.Pick(drivers));
        std::string target = random.Pick(packageNames);
        if (random.Chance(10))
            target = random.Pick(foreignNames);
        else if (random.Chance(10))
            target = "VZ Nadie";
        printer.data.push_back({"PellPrinter", random.Case(target)});
        if (random.Chance(30))
            printer.data.push_back({"VantoDriver08", "1"});
        local.push_back(printer);
    }
    std::shuffle(local.begin(), local.end(), random.Engine());

    int uid = 0;
    for (spoolsim::Printer& printer : local) {
        const bool foreign = std::find(foreignNames.begin(), foreignNames.end(), printer.name) != foreignNames.end();
        if (random.Chance(30))
            printer.printProcessor = foreign && random.Chance(50) ? kForeignProcessor : random.Pick(kProcessors);
        for (int job = random.Between(0, 3); job > 0; --job)
            printer.jobs.push_back({static_cast<unsigned long>(job), "ana", "Informe " + std::to_string(job), 0});
        if (random.Chance(40)) {
            const std::string id = "VZUID." + std::to_string(installation.seed) + "." + std::to_string(uid++);
            printer.data.push_back({"UniqueID", id});
            AddRegistryValue(installation.registry, HKEY_CLASSES_ROOT, id + "\\a", "", "x");
            AddRegistryValue(installation.registry, HKEY_CLASSES_ROOT, id + "\\b", "", "y");
            if (random.Chance(30))
                AddRegistryKey(installation.registry, HKEY_CLASSES_ROOT, id + "\\a\\deep");
            AddRegistryKey(installation.decoyRegistry, HKEY_CLASSES_ROOT, id + "X");
        }
        // What the spooler keeps per user for every printer.
        AddRegistryValue(installation.registry, HKEY_CURRENT_USER, kPerUserPrinterKeys[2], printer.name,
                         "winspool,LPT1:");
        AddRegistryValue(installation.registry, HKEY_CURRENT_USER, kPerUserPrinterKeys[3], printer.name,
                         "winspool,LPT1:,15,45");
        if (random.Chance(50))
            AddRegistryValue(installation.registry, HKEY_CURRENT_USER, kPerUserPrinterKeys[0], printer.name, "dm");
        if (random.Chance(30))
            AddRegistryValue(installation.registry, HKEY_CURRENT_USER, kPerUserPrinterKeys[1], printer.name, "st");
        if (!foreign && random.Chance(50)) {
            const std::string own = "SOFTWARE\\VANTO\\" + printer.name;
            if (random.Chance(30))
                AddRegistryKey(installation.registry, HKEY_CURRENT_USER, own + "\\Tray");
            else
                AddRegistryValue(installation.registry, HKEY_CURRENT_USER, own, "Last", "1");
        }
        AddDriver(installation, printer.driver, "");
        if (random.Chance(30))
            AddDriver(installation, printer.driver, "Windows 4.0");
    }
    if (!local.empty() && random.Chance(70)) {
        spoolsim::Printer& chosen = local[random.Between(0, static_cast<int>(local.size()) - 1)];
        chosen.attributes |= 0x4;
        installation.defaultDevice = chosen.name + ",winspool," + chosen.port;
    }
    installation.spooler.printers = local;
    for (int i = random.Between(0, 1); i > 0; --i) {
        spoolsim::Printer connection;
        connection.server = "\\\\VZSRV";
        connection.share = "Share" + std::to_string(i);
        connection.name = connection.server + "\\" + connection.share;
        connection.driver = random.Pick(drivers);
        connection.attributes = 0x10;
        connection.data.push_back({"VantoDriver08", "1"});
        installation.spooler.printers.push_back(connection);
        AddDriver(installation, connection.driver, "");
    }
    installation.foreignPrinters = foreignNames;

    for (const char* driver : kPackageDrivers) {
        if (random.Chance(40))
            AddDriver(installation, driver, random.Chance(70) ? "" : "Windows 4.0");
    }
    for (const char* driver : kForeignDrivers)
        AddDriver(installation, driver, "");
    for (const char* named : {kAddOn, kCatchAll, kIgnore}) {
        if (random.Chance(25))
            AddDriver(installation, named, "");
    }
}

void GenerateSpoolerObjects(Installation& installation, Random& random)
{
    std::vector<std::string> processors;
    for (const spoolsim::Printer& printer : installation.spooler.printers)
        processors.push_back(printer.printProcessor);
    for (const char* processor : kProcessors) {
        if (random.Chance(60))
            processors.push_back(processor);
    }
    processors.push_back("WinPrint");
    processors.push_back(kForeignProcessor);
    std::sort(processors.begin(), processors.end());
    processors.erase(std::unique(processors.begin(), processors.end()), processors.end());
    for (const std::string& name : processors) {
        for (const char* environment : {"", "Windows 4.0"}) {
            if (*environment && (name == "WinPrint" || random.Chance(60)))
                continue;
            spoolsim::PrintProcessor processor;
            processor.name = name;
            processor.environment = environment;
            installation.spooler.processors.push_back(processor);
            if (name != "WinPrint")
                AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE,
                                 (*environment ? kProcessors9x : kProcessorsNT) + name, "Driver", "vzproc.dll");
        }
    }
    for (const char* name : kMonitors) {
        if (!random.Chance(70))
            continue;
        installation.spooler.monitors.push_back({name, "vzmon.dll", 0});
        AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, std::string(kMonitorsKey) + name, "Driver",
                         "vzmon.dll");
        if (random.Chance(30))
            AddRegistryKey(installation.registry, HKEY_LOCAL_MACHINE, std::string(kMonitorsKey) + name + "\\Ports");
    }
    installation.spooler.monitors.push_back({kForeignMonitor, "otramon.dll", 0});
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, std::string(kMonitorsKey) + kForeignMonitor,
                     "Driver", "otramon.dll");
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, std::string(kProcessorsNT) + kForeignProcessor,
                     "Driver", "otraproc.dll");

    for (const char* service : kServices) {
        if (random.Chance(70))
            installation.services.push_back(service);
    }
    installation.decoyServices.push_back(kForeignService);
}

void GenerateRegistry(Installation& installation, Random& random, const Layout& layout)
{
    for (const KeyPlace& place : kKeyPool) {
        if (!random.Chance(80))
            continue;
        const std::string key = place.key;
        AddRegistryValue(installation.registry, place.root, key, "Val0", "a");
        AddRegistryValue(installation.registry, place.root, key, "Val1", "b");
        if (random.Chance(70)) {
            AddRegistryValue(installation.registry, place.root, key + "\\Sub", "Val0", "c");
            AddRegistryValue(installation.registry, place.root, key + "\\Sub", "Val1", "d");
            if (random.Chance(50))
                AddRegistryValue(installation.registry, place.root, key + "\\Sub\\Deep", "Val0", "e");
        }
        AddRegistryValue(installation.decoyRegistry, place.root, key + "X", "Val0", "decoy");
    }
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTOX\\C0", "Val0", "decoy");
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VantoDecoy\\C1", "Val0", "decoy");
    AddRegistryValue(installation.decoyRegistry, HKEY_CURRENT_USER, "SOFTWARE\\VANTOX\\U0", "Val0", "decoy");
    AddRegistryValue(installation.decoyRegistry, HKEY_CLASSES_ROOT, "VantoContain.Doc0X", "", "decoy");
    // Another product of the same maker, which outlives the package.
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\ScanSuite", "Val0", "decoy");

    // The maker's own keys, which go with the last printer.
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\VSR32_08", "Version", "8");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Filters\\F0", "Dll", "vzf0.dll");
    AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\ProgramGroups", "G0",
                     kGroups[0]);
    const std::string oem1 = layout.oemRoot + "Drivers";
    installation.oemPathValues.push_back(random.Chance(50) ? oem1 : oem1 + "\\");
    if (random.Chance(40))
        installation.oemPathValues.push_back(layout.oemRoot + "Tools\\Bin\\");
    // Recorded paths that are not the maker's own directories.
    if (random.Chance(30))
        installation.oemPathValues.push_back(layout.windows.substr(0, 3));
    if (random.Chance(20))
        installation.oemPathValues.push_back(ParentOf(layout.oemRoot));
    // Windows' own directories, where decoys carry the package's file names.
    if (random.Chance(30))
        installation.oemPathValues.push_back(layout.system);
    for (std::size_t i = 0; i < installation.oemPathValues.size(); ++i)
        AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\OEMPaths",
                         "Path" + std::to_string(i), installation.oemPathValues[i]);

    for (int i = 0; i < 3; ++i) {
        if (random.Chance(70))
            AddRegistryValue(installation.registry, HKEY_LOCAL_MACHINE, kRunKey, kRunValues[i],
                             "vzrun" + std::to_string(i) + ".exe");
    }
    AddRegistryValue(installation.decoyRegistry, HKEY_LOCAL_MACHINE, kRunKey, kForeignRunValue, "otra.exe");
}

void Place(Installation& installation, const std::string& directory, const std::string& name, bool decoy)
{
    const std::string path = directory + name;
    for (const FileToWrite& file : installation.files) {
        if (SameText(file.path, path))
            return;
    }
    installation.files.push_back({path, "package file " + name + "\r\n"});
    if (decoy)
        installation.decoyFiles.push_back(path);
}

void GenerateFiles(Installation& installation, Random& random, const Layout& layout)
{
    const std::string oem1 = layout.oemRoot + "Drivers\\";
    std::vector<std::string> owned = {layout.system, layout.windows, layout.color, layout.driver,
                                      layout.driver + "3\\", layout.driver + "3\\vzsub\\", layout.driver40,
                                      layout.processor, layout.processor + "vzsub\\", layout.inf + "vzsub\\",
                                      oem1 + "a\\", oem1 + "a\\b\\", oem1 + "a\\b\\c\\"};
    const std::vector<std::string> decoys = {
        layout.system + "vzdecoy\\",          layout.windows + "vzdecoy\\", layout.color + "vzdecoy\\",
        layout.driver + "3\\vzsub\\deeper\\", layout.inf + "vzsub\\deeper\\deepest\\", oem1 + "a\\b\\c\\d\\",
        layout.oemRoot,                       layout.oemRoot + "DriversX\\",  layout.decoyRoot,
        layout.decoyRoot + "sub\\"};
    std::vector<std::string> names(std::begin(kFilePool), std::end(kFilePool));
    names.push_back(kRestart);
    names.push_back(kUtility);
    for (const std::string& name : names) {
        for (int i = random.Between(1, 3); i > 0; --i) {
            std::string directory = random.Pick(owned);
            // The utility found directly in an OEM path is started; only its
            // stand-in goes there.
            if (name != kUtility && random.Chance(15))
                directory = oem1;
            Place(installation, directory, random.Case(name), false);
        }
        if (random.Chance(60))
            Place(installation, random.Pick(decoys), name, true);
    }
    if (random.Chance(50))
        installation.utilityPaths.push_back(oem1 + kUtility);

    installation.scriptPaths.push_back(layout.driver + kScript);
    if (random.Chance(40))
        installation.scriptPaths.push_back(layout.driver + "3\\" + kScript);
    if (random.Chance(30))
        installation.scriptPaths.push_back(layout.system + kScript);
    installation.decoyScriptPaths.push_back(layout.decoyRoot + kScript);
    installation.decoyScriptPaths.push_back(layout.system + "vzdecoy\\" + kScript);

    const std::string ini = "[S0]\r\nK0=a\r\nK1=b\r\nK2=c\r\n\r\n[S1]\r\nK0=x\r\nK1=y\r\nK3=z\r\n";
    installation.files.push_back({layout.windows + kIniFiles[0], ini});
    installation.files.push_back({layout.windows + kIniFiles[1], ini});
    installation.decoyFiles.push_back(layout.windows + kIniFiles[1]);
    installation.files.push_back({layout.decoyRoot + kIniFiles[0], ini});
    installation.decoyFiles.push_back(layout.decoyRoot + kIniFiles[0]);

    for (const char* group : kGroups) {
        for (const std::string* programs : {&layout.programs, &layout.commonPrograms}) {
            if (programs->empty() || !random.Chance(60))
                continue;
            const std::string folder = *programs + group + "\\";
            for (const char* item : kItems) {
                if (random.Chance(60))
                    installation.files.push_back({folder + item + (random.Chance(70) ? ".lnk" : ".pif"), "lnk"});
            }
            if (random.Chance(40)) {
                installation.files.push_back({folder + "VZOther.lnk", "lnk"});
                installation.decoyFiles.push_back(folder + "VZOther.lnk");
            }
        }
    }
    if (!layout.programs.empty()) {
        const std::string other = layout.programs + kForeignGroup + "\\" + kItems[0] + ".lnk";
        installation.files.push_back({other, "lnk"});
        installation.decoyFiles.push_back(other);
    }
    for (const std::string& startup : layout.startupFolders) {
        if (random.Chance(50))
            installation.files.push_back({startup + random.Pick(kItems) + ".lnk", "lnk"});
    }
}

}  // namespace

// Another maker's printer whose driver loads a file named like one of the
// package's, in the package's own driver directory: whatever the scripts
// list, it must stay, as the driver does while that printer uses it.
void GenerateSharedDriverFiles(Installation& installation, Random& random, const Layout& layout)
{
    auto usedByForeignPrinter = [&installation](const spoolsim::Driver& driver) {
        for (const spoolsim::Printer& printer : installation.spooler.printers) {
            if (SameText(printer.driver, driver.name) &&
                std::find(installation.foreignPrinters.begin(), installation.foreignPrinters.end(), printer.name) !=
                    installation.foreignPrinters.end())
                return true;
        }
        return false;
    };
    for (spoolsim::Driver& driver : installation.spooler.drivers) {
        if (!driver.environment.empty() || !usedByForeignPrinter(driver) || !random.Chance(60))
            continue;
        const std::string shared = layout.driver + "3\\" + random.Pick(kFilePool);
        driver.driverPath = layout.driver + "3\\otra9.dll";
        driver.dependentFiles = layout.driver + "3\\OTRA9.INI," + shared;
        // The package may have put a file of that name there already: it is
        // now the one the driver loads.
        const bool placed = std::any_of(installation.files.begin(), installation.files.end(),
                                        [&](const FileToWrite& file) { return SameText(file.path, shared); });
        if (!placed)
            installation.files.push_back({shared, "otra marca\r\n"});
        installation.decoyFiles.push_back(shared);
    }
}

Installation GenerateInstallation(unsigned seed, const Layout& layout)
{
    Random random(seed);
    Installation installation;
    installation.seed = seed;
    installation.unpell = random.Chance(15);
    for (const char* driver : kPackageDrivers) {
        if (random.Chance(60))
            AddProfile(installation, random, random.Case(driver), ProfileKind::Driver);
    }
    if (random.Chance(60))
        AddProfile(installation, random, kAddOn, ProfileKind::Driver);
    for (const char* maker : kManufacturers) {
        if (random.Chance(40))
            AddProfile(installation, random, maker, ProfileKind::Manufacturer);
    }
    if (random.Chance(50))
        AddProfile(installation, random, kCatchAll, ProfileKind::CatchAll);
    if (random.Chance(50))
        AddProfile(installation, random, kIgnore, ProfileKind::Ignore);
    if (installation.profiles.empty())
        AddProfile(installation, random, kPackageDrivers[0], ProfileKind::Driver);

    GeneratePrinters(installation, random);
    GenerateSpoolerObjects(installation, random);
    GenerateRegistry(installation, random, layout);
    GenerateFiles(installation, random, layout);
    GenerateSharedDriverFiles(installation, random, layout);
    return installation;
}

}  // namespace containment
