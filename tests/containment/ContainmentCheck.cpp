#include "ContainmentCheck.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "ScriptItems.h"
#include "TestPaths.h"
#include "TestRegistry.h"

namespace containment {

namespace {

const spoolsim::Printer* FindPrinter(const spoolsim::State& state, const std::string& name)
{
    for (const spoolsim::Printer& printer : state.printers) {
        if (SameText(printer.name, name))
            return &printer;
    }
    return nullptr;
}

// A printer that stays uses the driver; chosen printers a fault kept do
// not count, their driver goes with them.
bool DriverUsedBy(const spoolsim::State& state, const std::string& driver, const std::set<std::string>& survivors)
{
    for (const spoolsim::Printer& printer : state.printers) {
        if (SameText(printer.driver, driver) && !survivors.count(Lower(printer.name)))
            return true;
    }
    return false;
}

// The profiles whose items must stay, found as the scripts define them:
// a printer's profile by its driver's whole name, else the last (in name
// order) manufacturer profile sharing the driver's first word.
const GeneratedProfile* ProfileOfDriver(const Installation& installation, const std::string& driver)
{
    for (const GeneratedProfile& profile : installation.profiles) {
        if (SameText(profile.name, driver))
            return &profile;
    }
    const std::string word = Lower(driver.substr(0, driver.find(' ')));
    const GeneratedProfile* found = nullptr;
    for (const GeneratedProfile& profile : installation.profiles) {
        if (profile.kind != ProfileKind::Manufacturer ||
            Lower(profile.name.substr(0, profile.name.find(' '))) != word)
            continue;
        if (!found || Lower(found->name) < Lower(profile.name))
            found = &profile;
    }
    return found;
}

class Checker {
public:
    Checker(const Installation& installation, const Layout& layout, const UninstallDatabase& database,
            const RemovalRecord& record, const SystemState& before, const SystemState& after)
        : installation(installation), layout(layout), database(database), record(record), before(before),
          after(after)
    {
        const UninstallProfile& removal = database.removalProfile;
        for (const std::string& entry : removal.files)
            removedNames.insert(Lower(FileNamePart(entry)));
        if (database.keptPrinterCount == 0)
            removedNames.insert("zrestart.exe");
        removalLines = ParseLines(removal.registryKeys);
        oemDirectories = OemDirectories(installation, layout);
        chosen = ChosenPrinters(database, record.selected);
        CollectKept();
    }

    std::vector<std::string> Run()
    {
        CheckAddedRegistryLines();
        CheckFiles();
        CheckRegistry();
        CheckSpooler();
        CheckServices();
        CheckKeptNeeds();
        CheckDecoys();
        return violations;
    }

private:
    void Fail(const std::string& text) { violations.push_back(text); }

    // A chosen printer was the default, by its attribute or by WIN.INI's
    // line: another one becomes it.
    bool DefaultRemoved() const
    {
        std::string device;
        const auto windows = before.registry.find(Lower(std::string("HKCU\\") + kWindowsKey));
        if (windows != before.registry.end() && windows->second.values.count("device"))
            device = windows->second.values.at("device").data.c_str();
        device = device.substr(0, device.find(','));
        for (const spoolsim::Printer& printer : before.spooler.printers) {
            if (((printer.attributes & 0x4) || printer.name == device) && chosen.count(Lower(printer.name)))
                return true;
        }
        return false;
    }

    bool ChosenDriver(const std::string& driver) const
    {
        for (const spoolsim::Printer& printer : before.spooler.printers) {
            if (chosen.count(Lower(printer.name)) && SameText(printer.driver, driver))
                return true;
        }
        return false;
    }

    bool ChosenLocal(const std::string& name) const
    {
        for (const InstalledPrinter& printer : database.printers) {
            if (SameText(printer.name, name))
                return chosen.count(Lower(name)) && printer.serverName[0] == '\0';
        }
        return false;
    }

    // Lines the removers appended must be those of chosen printers and of
    // drivers the driver step asked the spooler to delete.
    void CheckAddedRegistryLines()
    {
        const std::set<std::string> planned = LowerSet(record.planned.registryKeys);
        std::set<std::string> deletedDrivers;
        for (const std::string& line : record.journal) {
            const std::vector<std::string> fields = JournalFields(line);
            if (fields[0] == "DeletePrinterDriverA" && fields.size() >= 4)
                deletedDrivers.insert(Lower(fields[3]));
        }
        for (const std::string& text : database.removalProfile.registryKeys) {
            if (planned.count(Lower(text)))
                continue;
            ParsedLine line;
            if (!ParseLine(text, line)) {
                Fail("unparsable line added: " + text);
                continue;
            }
            const std::string ownPrefix = "software\\vanto\\";
            if (SameText(line.root, "HKCU") && Lower(line.key).compare(0, ownPrefix.size(), ownPrefix) == 0 &&
                line.value.empty() && !line.hasFlag && ChosenLocal(line.key.substr(ownPrefix.size())))
                continue;
            const std::string environments = "system\\currentcontrolset\\control\\print\\environments\\";
            const std::string key = Lower(line.key);
            const std::size_t last = key.find_last_of('\\');
            const bool ntDriver = key.find("\\drivers\\version-") != std::string::npos;
            const bool driver9x = key.compare(0, environments.size() + 20, environments + "windows 4.0\\drivers\\") == 0;
            if (SameText(line.root, "HKLM") && key.compare(0, environments.size(), environments) == 0 &&
                (ntDriver || driver9x) && last != std::string::npos && deletedDrivers.count(key.substr(last + 1)))
                continue;
            // Windows 9x keeps a printer's settings under its name.
            const std::string printers9x = "system\\currentcontrolset\\control\\print\\printers\\";
            const std::string driverData = "\\printerdriverdata";
            if (SameText(line.root, "HKLM") && key.compare(0, printers9x.size(), printers9x) == 0 && !line.hasFlag) {
                std::string name = line.key.substr(printers9x.size());
                if (Lower(name).size() > driverData.size() &&
                    Lower(name).compare(name.size() - driverData.size(), driverData.size(), driverData) == 0)
                    name.resize(name.size() - driverData.size());
                if (ChosenLocal(name))
                    continue;
            }
            Fail("line added by a remover for something not removed: " + text);
        }
    }

    bool FileAllowed(const FileRecord& file) const
    {
        const std::string directory = ParentOf(file.path);
        const std::string name = FileNameOf(file.path);
        if (Contains(removedNames, name)) {
            for (const std::string* flat : {&layout.system, &layout.windows, &layout.color}) {
                if (SameText(*flat, directory))
                    return true;
            }
            for (const SearchedDirectory& tree : layout.SearchedDirectories()) {
                const int levels = LevelsBelow(tree.path, directory);
                if (tree.depth > 0 && levels >= 0 && levels <= tree.depth)
                    return true;
            }
            for (const std::string& oem : oemDirectories) {
                const int levels = LevelsBelow(oem, directory);
                if (levels >= 0 && levels <= 3)
                    return true;
            }
        }
        for (const Shortcut& shortcut : Shortcuts(database.removalProfile.shortcuts)) {
            for (const std::string& path : ShortcutPaths(layout, shortcut)) {
                if (path == Lower(file.path))
                    return true;
            }
        }
        return false;
    }

    bool DirectoryAllowed(const FileRecord& directory) const
    {
        for (const std::string& oem : oemDirectories) {
            const int levels = LevelsBelow(oem, directory.path);
            if (levels >= 0 && levels <= 3)
                return true;
        }
        for (const Shortcut& shortcut : Shortcuts(database.removalProfile.shortcuts)) {
            if (!shortcut.item.empty())
                continue;
            for (const std::string* programs : {&layout.programs, &layout.commonPrograms}) {
                if (!programs->empty() && SameText(*programs + shortcut.group + "\\", directory.path))
                    return true;
            }
        }
        return false;
    }

    void CheckFiles()
    {
        const FileDifference difference = CompareFiles(before.files, after.files);
        for (const FileRecord& file : difference.removed) {
            if (file.directory ? !DirectoryAllowed(file) : !FileAllowed(file))
                Fail(std::string(file.directory ? "directory" : "file") + " removed outside the profile: " +
                     file.path);
        }
        for (const FileRecord& file : difference.changed) {
            const auto now = after.files.find(Lower(file.path));
            const std::string content = now == after.files.end() ? std::string() : now->second.content;
            std::set<std::pair<std::string, std::string>> named;
            if (SameText(ParentOf(file.path), layout.windows)) {
                for (const std::string& entry : database.removalProfile.deleteIni) {
                    const std::vector<std::string> fields = SplitFields(entry, 3);
                    if (fields.size() == 3 && SameText(FileNameOf(fields[0]), FileNameOf(file.path)))
                        named.insert({Lower(fields[1]), Lower(fields[2])});
                }
                if (SameText(FileNameOf(file.path), "win.ini"))
                    named.insert({"windows", "device"});
            }
            std::string afterWithoutDevice = content;
            if (named.count({"windows", "device"})) {
                // The default printer's line may be rewritten: compare without it.
                std::string filtered;
                for (const IniLine& line : IniLines(content)) {
                    if (!(line.section == "windows" && line.key == "device"))
                        filtered += line.text + "\r\n";
                }
                afterWithoutDevice = filtered;
            }
            if (named.empty() || !OnlyNamedLinesRemoved(file.content, afterWithoutDevice, named))
                Fail("file changed outside the profile: " + file.path);
        }
    }

    bool RegistryAllowed(const RegistryItem& item) const
    {
        for (const ParsedLine& line : removalLines) {
            if (LineCovers(line, item, true))
                return true;
        }
        const UninstallProfile& removal = database.removalProfile;
        const std::string print = "system\\currentcontrolset\\control\\print\\";
        const std::string key = Lower(item.key);
        if (item.root == "HKLM") {
            for (const std::string& monitor : removal.monitors) {
                if (key == print + "monitors\\" + Lower(monitor))
                    return true;
            }
            for (const std::string& processor : removal.printProcessors) {
                for (const char* environment : {"windows nt x86", "windows 4.0"}) {
                    if (key == print + "environments\\" + environment + "\\print processors\\" + Lower(processor))
                        return true;
                }
            }
            for (const std::string& service : removal.services) {
                if (IsUnder(key, "system\\currentcontrolset\\services\\" + service))
                    return true;
            }
            if (item.isValue && SameText(item.key, kRunKey)) {
                for (const std::string& entry : removal.deleteLoadRun) {
                    const std::vector<std::string> fields = SplitFields(entry, 2);
                    if (fields.size() == 2 && !fields[1].empty() && SameText(fields[0], item.value))
                        return true;
                }
            }
        }
        if (item.root == "HKCR") {
            for (const InstalledPrinter& printer : database.printers) {
                if (!ChosenLocal(printer.name))
                    continue;
                const spoolsim::Printer* simulated = FindPrinter(before.spooler, printer.name);
                const spoolsim::PrinterValue* id = simulated ? simulated->FindValue("UniqueID") : nullptr;
                if (id && IsUnder(item.key, id->text))
                    return true;
            }
        }
        if (item.root == "HKCU" && item.isValue) {
            for (const char* perUser : kPerUserPrinterKeys) {
                if (SameText(item.key, perUser) && ChosenLocal(item.value))
                    return true;
            }
        }
        return false;
    }

    void CheckRegistryItem(const RegistryItem& item, const std::string& what)
    {
        if (!RegistryAllowed(item))
            Fail(what + " outside the profile");
        for (std::size_t i = 0; i < keptLines.size(); ++i) {
            if (LineCovers(keptLines[i], item, false)) {
                Fail(what + ", which a profile that stays names (" + keptLineTexts[i] + ")");
                break;
            }
        }
    }

    // Files in use or read-only may only be handed to the restart when the
    // removal may delete them.
    void CheckPendingDeletions()
    {
        const std::set<std::string> old = PendingDeletions(before.registry);
        for (const std::string& path : PendingDeletions(after.registry)) {
            FileRecord file;
            file.path = path;
            if (!old.count(path) && !FileAllowed(file))
                Fail("file scheduled for deletion outside the profile: " + path);
        }
    }

    void CheckRegistry()
    {
        CheckPendingDeletions();
        const RegistryDifference difference = CompareRegistry(before.registry, after.registry);
        for (const std::string& path : difference.removedKeys) {
            CheckRegistryItem(ItemOfPath(path), "key removed: " + path);
            // The spooler's record of a driver a printer that stays still uses.
            const std::string key = Lower(path);
            const std::size_t version = key.find("\\drivers\\version-");
            const std::size_t last = key.find_last_of('\\');
            if (version != std::string::npos && key.find('\\', version + 10) == last &&
                DriverUsedBy(after.spooler, path.substr(last + 1), record.survivors))
                Fail("driver key removed that a remaining printer uses: " + path);
        }
        for (const RegistryDifference::Value& value : difference.values) {
            RegistryItem item = ItemOfPath(value.key);
            item.isValue = true;
            item.value = value.value.name;
            const std::string where = value.key + " [" + value.value.name + "]";
            if (value.removed)
                CheckRegistryItem(item, "value removed: " + where);
            else if (!(SameText(item.key, kSessionManager) && SameText(item.value, kPendingRenames)) &&
                     !(SameText(item.key, kWindowsKey) && SameText(item.value, "Device") && DefaultRemoved()))
                Fail("value changed: " + where);
        }
    }

    void CheckSpooler()
    {
        const UninstallProfile& removal = database.removalProfile;
        const std::set<std::string> removalDrivers = LowerSet(removal.drivers);
        std::set<std::string> chosenDrivers;
        for (const spoolsim::Printer& printer : before.spooler.printers) {
            if (chosen.count(Lower(printer.name)))
                chosenDrivers.insert(Lower(printer.driver));
        }
        for (const spoolsim::Printer& old : before.spooler.printers) {
            const spoolsim::Printer* now = FindPrinter(after.spooler, old.name);
            const bool isChosen = chosen.count(Lower(old.name)) > 0;
            if (!now) {
                if (!isChosen)
                    Fail("printer removed that was not chosen: " + old.name);
                continue;
            }
            if (isChosen) {
                if (!record.survivors.count(Lower(old.name)))
                    Fail("chosen printer still installed: " + old.name);
                continue;
            }
            const bool processorRemoved = Contains(LowerSet(removal.printProcessors), old.printProcessor);
            if (now->printProcessor != old.printProcessor &&
                !(processorRemoved && now->printProcessor == "WinPrint"))
                Fail("print processor of " + old.name + " changed to " + now->printProcessor);
            if (now->datatype != old.datatype && !(processorRemoved && now->datatype == "RAW"))
                Fail("data type of " + old.name + " changed");
            if ((now->attributes | 0x4) != (old.attributes | 0x4))
                Fail("attributes of " + old.name + " changed");
            if (now->driver != old.driver || now->jobs.size() != old.jobs.size() ||
                now->data.size() != old.data.size() || now->port != old.port)
                Fail("printer that stays was changed: " + old.name);
        }
        for (const spoolsim::Driver& old : before.spooler.drivers) {
            bool present = false;
            for (const spoolsim::Driver& now : after.spooler.drivers)
                present = present || (SameText(now.name, old.name) && SameText(now.environment, old.environment));
            if (present)
                continue;
            const bool postScript = old.name.find("(PSCRIPT)") != std::string::npos &&
                                    !database.utilityNotTargeted && !FindPrinter(after.spooler, old.name);
            if (!Contains(removalDrivers, old.name) && !chosenDrivers.count(Lower(old.name)) && !postScript)
                Fail("driver removed outside the profile: " + old.name + " [" + old.environment + "]");
            if (DriverUsedBy(after.spooler, old.name, record.survivors))
                Fail("driver removed that a remaining printer uses: " + old.name);
        }
        for (const std::string& line : record.journal) {
            const std::vector<std::string> fields = JournalFields(line);
            if (fields[0] == "DeletePrinterDriverA" && fields.size() >= 4 &&
                DriverUsedBy(after.spooler, fields[3], record.survivors))
                Fail("asked to delete a driver a remaining printer uses: " + line);
            if ((fields[0] == "SetJobA" || fields[0] == "DeletePrinter" || fields[0] == "DeletePrinterConnectionA") &&
                fields.size() >= 2 && !chosen.count(Lower(fields[1])))
                Fail("spooler call on a printer not chosen: " + line);
        }
        for (const spoolsim::Monitor& old : before.spooler.monitors) {
            bool present = false;
            for (const spoolsim::Monitor& now : after.spooler.monitors)
                present = present || SameText(now.name, old.name);
            if (!present && !Contains(LowerSet(removal.monitors), old.name))
                Fail("monitor removed outside the profile: " + old.name);
        }
        for (const spoolsim::PrintProcessor& old : before.spooler.processors) {
            bool present = false;
            for (const spoolsim::PrintProcessor& now : after.spooler.processors)
                present = present || (SameText(now.name, old.name) && SameText(now.environment, old.environment));
            if (present)
                continue;
            if (!Contains(LowerSet(removal.printProcessors), old.name))
                Fail("print processor removed outside the profile: " + old.name);
            for (const spoolsim::Printer& printer : after.spooler.printers) {
                if (SameText(printer.printProcessor, old.name) && old.environment.empty())
                    Fail("print processor removed that " + printer.name + " still uses: " + old.name);
            }
        }
    }

    void CheckServices()
    {
        for (const std::string& service : before.services) {
            if (!after.services.count(service) && !Contains(LowerSet(database.removalProfile.services), service))
                Fail("service removed outside the profile: " + service);
        }
    }

    void CollectKept()
    {
        // Every printer of the package the spooler has, whether or not the
        // inventory could read it, stays unless it was chosen.
        bool anyStays = false;
        for (const spoolsim::Printer& printer : before.spooler.printers) {
            const bool package = printer.FindValue("VantoDriver08") || printer.FindValue("PellPrinter");
            if (!package || chosen.count(Lower(printer.name)))
                continue;
            anyStays = true;
            if (const GeneratedProfile* profile = ProfileOfDriver(installation, printer.driver))
                kept.push_back(profile);
        }
        for (const GeneratedProfile& profile : installation.profiles) {
            const bool addOn = SameText(profile.name, "Pellivance");
            if (profile.kind == ProfileKind::Ignore || (profile.kind == ProfileKind::CatchAll && anyStays) ||
                (addOn && anyStays && !installation.unpell))
                kept.push_back(&profile);
        }
        for (const GeneratedProfile* profile : kept) {
            for (const std::string& text : profile->Items("RegistryKeys")) {
                ParsedLine line;
                if (ParseLine(text, line)) {
                    keptLines.push_back(line);
                    keptLineTexts.push_back(text);
                }
            }
        }
    }

    void CheckKeptNeeds()
    {
        for (const GeneratedProfile* profile : kept) {
            const std::string owner = " (needed by " + profile->name + ")";
            for (const std::string& entry : profile->Items("Files")) {
                const std::string name = FileNamePart(entry);
                for (const auto& file : before.files) {
                    if (!file.second.directory && SameText(FileNameOf(file.second.path), name) &&
                        !after.files.count(file.first))
                        Fail("file gone: " + file.second.path + owner);
                }
            }
            for (const std::string& monitor : profile->Items("Monitors")) {
                const auto present = [&monitor](const spoolsim::State& state) {
                    for (const spoolsim::Monitor& m : state.monitors) {
                        if (SameText(m.name, monitor))
                            return true;
                    }
                    return false;
                };
                if (present(before.spooler) && !present(after.spooler))
                    Fail("monitor gone: " + monitor + owner);
            }
            for (const std::string& processor : profile->Items("PrintProcessors")) {
                for (const spoolsim::PrintProcessor& old : before.spooler.processors) {
                    if (!SameText(old.name, processor))
                        continue;
                    bool present = false;
                    for (const spoolsim::PrintProcessor& now : after.spooler.processors)
                        present = present || (SameText(now.name, old.name) && now.environment == old.environment);
                    if (!present)
                        Fail("print processor gone: " + processor + owner);
                }
            }
            for (const std::string& service : profile->Items("Services")) {
                if (before.services.count(service) && !after.services.count(service))
                    Fail("service gone: " + service + owner);
            }
            for (const Shortcut& shortcut : Shortcuts(profile->Items("Shortcuts"))) {
                for (const std::string& path : ShortcutPaths(layout, shortcut)) {
                    if (before.files.count(path) && !after.files.count(path))
                        Fail("shortcut gone: " + path + owner);
                }
            }
            for (const std::string& entry : profile->Items("DeleteIni")) {
                const std::vector<std::string> fields = SplitFields(entry, 3);
                if (fields.size() < 3)
                    continue;
                const std::string path = Lower(layout.windows + FileNameOf(fields[0]));
                const auto old = before.files.find(path);
                const auto now = after.files.find(path);
                if (old == before.files.end())
                    continue;
                const auto has = [&fields](const std::string& content) {
                    for (const IniLine& line : IniLines(content)) {
                        if (line.section == Lower(fields[1]) && line.key == Lower(fields[2]))
                            return true;
                    }
                    return false;
                };
                if (has(old->second.content) && (now == after.files.end() || !has(now->second.content)))
                    Fail("INI key gone: " + entry + owner);
            }
            for (const std::string& entry : profile->Items("DeleteLoadRun")) {
                const std::vector<std::string> fields = SplitFields(entry, 2);
                const std::string key = Lower(std::string("HKLM\\") + kRunKey);
                const auto old = before.registry.find(key);
                const auto now = after.registry.find(key);
                if (old != before.registry.end() && old->second.values.count(Lower(fields[0])) &&
                    (now == after.registry.end() || !now->second.values.count(Lower(fields[0]))))
                    Fail("start-up entry gone: " + fields[0] + owner);
            }
            // A chosen printer's driver goes with it unless a printer that
            // stays uses it (checked with the spooler).
            if (profile->kind != ProfileKind::Manufacturer && !ChosenDriver(profile->name)) {
                for (const spoolsim::Driver& old : before.spooler.drivers) {
                    if (!SameText(old.name, profile->name))
                        continue;
                    bool present = false;
                    for (const spoolsim::Driver& now : after.spooler.drivers)
                        present = present || (SameText(now.name, old.name) && now.environment == old.environment);
                    if (!present)
                        Fail("driver gone: " + old.name + owner);
                }
            }
        }
    }

    void CheckDecoys()
    {
        for (const std::string& path : installation.decoyFiles) {
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
                Fail("decoy file gone: " + path);
        }
        for (const std::string& path : installation.decoyScriptPaths) {
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
                Fail("decoy script gone: " + path);
        }
        for (const RegistryEntry& entry : installation.decoyRegistry) {
            RegistryItem item;
            item.root = entry.rootName;
            item.key = entry.key;
            bool named = false;
            for (const ParsedLine& line : removalLines)
                named = named || LineCovers(line, item, true);
            if (!named && !KeyExists(entry.root, entry.key))
                Fail("decoy key gone: " + entry.rootName + "\\" + entry.key);
            if (!named && entry.hasValue && !entry.value.empty() &&
                !ValueExists(entry.root, entry.key, entry.value.c_str()))
                Fail("decoy value gone: " + entry.rootName + "\\" + entry.key + " [" + entry.value + "]");
        }
        for (const std::string& service : installation.decoyServices) {
            if (!after.services.count(service))
                Fail("decoy service gone: " + service);
        }
        for (const std::string& printer : installation.foreignPrinters) {
            if (!FindPrinter(after.spooler, printer))
                Fail("foreign printer gone: " + printer);
        }
    }

    const Installation& installation;
    const Layout& layout;
    const UninstallDatabase& database;
    const RemovalRecord& record;
    const SystemState& before;
    const SystemState& after;
    std::set<std::string> removedNames;
    std::vector<ParsedLine> removalLines;
    std::vector<std::string> oemDirectories;
    std::set<std::string> chosen;
    std::vector<const GeneratedProfile*> kept;
    std::vector<ParsedLine> keptLines;
    std::vector<std::string> keptLineTexts;
    std::vector<std::string> violations;
};

}  // namespace

std::set<std::string> ChosenPrinters(const UninstallDatabase& database, const std::vector<std::string>& selected)
{
    std::set<std::string> chosen;
    for (const std::string& name : selected)
        chosen.insert(Lower(name));
    for (bool grew = true; grew;) {
        grew = false;
        for (const InstalledPrinter& printer : database.printers) {
            const bool linked = printer.pelledName[0] && chosen.count(Lower(printer.pelledName));
            if (linked && !chosen.count(Lower(printer.name))) {
                chosen.insert(Lower(printer.name));
                grew = true;
            }
        }
    }
    return chosen;
}

std::vector<FileRoot> FileRootsFor(const Layout& layout)
{
    std::vector<FileRoot> roots = {{layout.windows.substr(0, 3), 1},
                                   {ParentOf(layout.oemRoot), 1},
                                   {layout.windows, 1},
                                   {layout.system, 1},
                                   {layout.color, 1},
                                   {layout.driver, 4},
                                   {layout.driver40, 4},
                                   {layout.processor, 4},
                                   {layout.processor40, 4},
                                   {layout.inf, 4},
                                   {layout.oemRoot, 6},
                                   {layout.decoyRoot, 3},
                                   {layout.programs, 2},
                                   {layout.commonPrograms, 2}};
    for (const std::string& startup : layout.startupFolders)
        roots.push_back({startup, 1});
    return roots;
}

std::vector<RegistryRoot> RegistryRootsFor(const Installation& installation)
{
    std::vector<RegistryRoot> roots = {
        {HKEY_CLASSES_ROOT, "HKCR", "", 1, false},
        {HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM\\CurrentControlSet\\Services", 1, false},
        {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VANTO", -1, true},
        {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VANTOX", -1, true},
        {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VantoDecoy", -1, true},
        {HKEY_CURRENT_USER, "HKCU", "SOFTWARE\\VANTO", -1, true},
        {HKEY_CURRENT_USER, "HKCU", "SOFTWARE\\VANTOX", -1, true},
        {HKEY_LOCAL_MACHINE, "HKLM", kPrintKey, -1, true},
        {HKEY_LOCAL_MACHINE, "HKLM", kRunKey, 0, true},
        {HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, true},
        {HKEY_CURRENT_USER, "HKCU", "Printers", -1, true},
        {HKEY_CURRENT_USER, "HKCU", kPerUserPrinterKeys[2], 0, true},
        {HKEY_CURRENT_USER, "HKCU", kPerUserPrinterKeys[3], 0, true},
        {HKEY_CURRENT_USER, "HKCU", kWindowsKey, 0, true},
    };
    std::set<std::string> classes;
    for (const std::vector<RegistryEntry>* list : {&installation.registry, &installation.decoyRegistry}) {
        for (const RegistryEntry& entry : *list) {
            if (entry.root == HKEY_CLASSES_ROOT)
                classes.insert(entry.key.substr(0, entry.key.find('\\')));
        }
    }
    for (const GeneratedProfile& profile : installation.profiles) {
        for (const std::string& text : profile.Items("RegistryKeys")) {
            ParsedLine line;
            if (ParseLine(text, line) && line.root == "HKCR")
                classes.insert(line.key.substr(0, line.key.find('\\')));
        }
    }
    for (const std::string& name : classes)
        roots.push_back({HKEY_CLASSES_ROOT, "HKCR", name, -1, true});
    return roots;
}

SystemState CaptureState(const Layout& layout, const Installation& installation, const spoolsim::State& spooler)
{
    SystemState state;
    state.files = SnapshotFiles(FileRootsFor(layout));
    state.registry = SnapshotRegistry(RegistryRootsFor(installation));
    state.services = SnapshotServices(ServiceNamePool());
    state.spooler = spooler;
    return state;
}

std::vector<std::string> CheckContainment(const Installation& installation, const Layout& layout,
                                          const UninstallDatabase& database, const RemovalRecord& record,
                                          const SystemState& before, const SystemState& after)
{
    return Checker(installation, layout, database, record, before, after).Run();
}

}  // namespace containment
