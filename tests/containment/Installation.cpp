#include "Installation.h"

#include <gtest/gtest.h>

#include "PackageNames.h"
#include "TempDir.h"
#include "TestPaths.h"
#include "TestServices.h"

namespace containment {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kPerUserPrinterKeys[4] = {
    "Printers\\DevModes2",
    "Printers\\Settings",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
};
const char kPrintKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print";

namespace {

void WriteRegistryEntry(const RegistryEntry& entry)
{
    HKEY key = nullptr;
    const LONG created = RegCreateKeyExA(entry.root, entry.key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                         nullptr);
    ASSERT_EQ(ERROR_SUCCESS, created) << entry.rootName << "\\" << entry.key;
    if (entry.hasValue) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, entry.value.empty() ? nullptr : entry.value.c_str(), 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(entry.data.c_str()),
                                                static_cast<DWORD>(entry.data.size() + 1)))
            << entry.rootName << "\\" << entry.key << " " << entry.value;
    }
    RegCloseKey(key);
}

void CreateService(SC_HANDLE manager, const std::string& name)
{
    SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                       "C:\\windows\\system32\\vzservice.exe", nullptr, nullptr, nullptr, nullptr,
                                       nullptr);
    EXPECT_NE(nullptr, service) << "service " << name << " error " << GetLastError();
    if (service)
        CloseServiceHandle(service);
}

void DeleteTree(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    char name[512];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children)
        DeleteTree(root, subkey + "\\" + child);
    RegDeleteKeyA(root, subkey.c_str());
}

// Values or subkeys whose name begins with one of the prefixes.
void DeleteNamed(HKEY root, const std::string& subkey, const std::vector<std::string>& prefixes, bool keys)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> names;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof(name);
        const LONG status = keys ? RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr)
                                 : RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            break;
        for (const std::string& prefix : prefixes) {
            if (Lower(name).compare(0, prefix.size(), Lower(prefix)) == 0)
                names.push_back(name);
        }
    }
    if (!keys) {
        for (const std::string& value : names)
            RegDeleteValueA(key, value.c_str());
    }
    RegCloseKey(key);
    if (keys) {
        for (const std::string& child : names)
            DeleteTree(root, subkey.empty() ? child : subkey + "\\" + child);
    }
}

void DeleteFileNamed(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Our files in a searched directory tree: every generated name, and the
// "vz" subdirectories with all they hold.
void SweepDirectory(const std::string& directory, int depth, const std::vector<std::string>& names)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> subdirectories;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (Lower(name).compare(0, 2, "vz") == 0)
                RemoveTree(directory + name);
            else if (depth > 0)
                subdirectories.push_back(directory + name + "\\");
            continue;
        }
        for (const std::string& known : names) {
            if (SameText(known, name))
                DeleteFileNamed(directory + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& subdirectory : subdirectories)
        SweepDirectory(subdirectory, depth - 1, names);
}

}  // namespace

namespace {

const char* RootName(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (root == HKEY_CURRENT_USER)
        return "HKCU";
    if (root == HKEY_CLASSES_ROOT)
        return "HKCR";
    return "HKU";
}

}  // namespace

void AddRegistryKey(std::vector<RegistryEntry>& list, HKEY root, const std::string& key)
{
    RegistryEntry entry;
    entry.root = root;
    entry.rootName = RootName(root);
    entry.key = key;
    list.push_back(entry);
}

void AddRegistryValue(std::vector<RegistryEntry>& list, HKEY root, const std::string& key, const std::string& value,
                      const std::string& data)
{
    AddRegistryKey(list, root, key);
    list.back().hasValue = true;
    list.back().value = value;
    list.back().data = data;
}

const std::vector<std::string>& GeneratedProfile::Items(const std::string& category) const
{
    static const std::vector<std::string> none;
    for (const auto& entry : items) {
        if (SameText(entry.first, category))
            return entry.second;
    }
    return none;
}

const std::vector<std::string>& ServiceNamePool()
{
    static const std::vector<std::string> pool = {kServices[0], kServices[1], kServices[2], kForeignService};
    return pool;
}

const std::vector<std::string>& IniFileNames()
{
    static const std::vector<std::string> names(std::begin(kIniFiles), std::end(kIniFiles));
    return names;
}

std::string Installation::ScriptText() const
{
    std::string text = "; Uninstall script of a generated package (seed " + std::to_string(seed) + ")\r\n";
    const struct {
        const char* section;
        ProfileKind kind;
    } starters[] = {{"UnPrinterDrivers", ProfileKind::Driver},
                    {"UnPrinterMfgs", ProfileKind::Manufacturer},
                    {"Unz_CatchAll", ProfileKind::CatchAll},
                    {"Unx_Ignore", ProfileKind::Ignore}};
    for (const auto& starter : starters) {
        std::string lines;
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            if (profiles[i].kind == starter.kind)
                lines += "\"" + profiles[i].name + "\"," + profiles[i].prefix + "," + std::to_string(i) + "\r\n";
        }
        if (!lines.empty())
            text += std::string("\r\n[") + starter.section + "]\r\n" + lines;
    }
    for (const GeneratedProfile& profile : profiles) {
        for (const auto& category : profile.items) {
            text += "\r\n[" + profile.prefix + "." + category.first + "]\r\n";
            for (const std::string& item : category.second)
                text += item + "\r\n";
        }
    }
    return text;
}
void Install(const Installation& installation, const Layout& layout, const std::string& utilityStandIn)
{
    (void)layout;
    const std::string script = installation.ScriptText();
    for (const std::string& path : installation.scriptPaths) {
        MakeDirectories(ParentOf(path));
        ASSERT_TRUE(WriteWholeFile(path, script)) << path;
    }
    for (const std::string& path : installation.decoyScriptPaths) {
        MakeDirectories(ParentOf(path));
        ASSERT_TRUE(WriteWholeFile(path, script)) << path;
    }
    for (const FileToWrite& file : installation.files) {
        MakeDirectories(ParentOf(file.path));
        ASSERT_TRUE(WriteWholeFile(file.path, file.content)) << file.path;
    }
    for (const std::string& path : installation.utilityPaths) {
        MakeDirectories(ParentOf(path));
        ASSERT_TRUE(CopyFileA(utilityStandIn.c_str(), path.c_str(), FALSE)) << path;
    }
    // Applications read the default printer from here as well.
    WriteProfileStringA("windows", "device",
                        installation.defaultDevice.empty() ? nullptr : installation.defaultDevice.c_str());
    for (const RegistryEntry& entry : installation.registry)
        WriteRegistryEntry(entry);
    for (const RegistryEntry& entry : installation.decoyRegistry)
        WriteRegistryEntry(entry);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(nullptr, manager);
    for (const std::string& service : installation.services)
        CreateService(manager, service);
    for (const std::string& service : installation.decoyServices)
        CreateService(manager, service);
    CloseServiceHandle(manager);
}

void SweepInstallations(const Layout& layout)
{
    std::vector<std::string> names(std::begin(kFilePool), std::end(kFilePool));
    for (const char* name : {kUtility, kRestart, kScript, kIniFiles[0], kIniFiles[1]})
        names.push_back(name);
    SweepDirectory(layout.system, 0, names);
    SweepDirectory(layout.windows, 0, names);
    SweepDirectory(layout.color, 0, names);
    for (const std::string* tree : {&layout.driver, &layout.driver40, &layout.processor, &layout.processor40,
                                    &layout.inf})
        SweepDirectory(*tree, 2, names);
    RemoveTree(layout.oemRoot);
    RemoveTree(layout.decoyRoot);
    for (const std::string* programs : {&layout.programs, &layout.commonPrograms}) {
        if (programs->empty())
            continue;
        for (const char* group : {kGroups[0], kGroups[1], kForeignGroup})
            RemoveTree(*programs + group);
    }
    for (const std::string& startup : layout.startupFolders) {
        for (const char* item : kItems)
            DeleteFileNamed(startup + item + ".lnk");
    }

    for (const char* key : {"SOFTWARE\\VANTO", "SOFTWARE\\VANTOX", "SOFTWARE\\VantoDecoy"}) {
        DeleteTree(HKEY_LOCAL_MACHINE, key);
        DeleteTree(HKEY_CURRENT_USER, key);
    }
    DeleteNamed(HKEY_CLASSES_ROOT, "", {"VantoContain.", "VZUID."}, true);
    DeleteNamed(HKEY_LOCAL_MACHINE, kRunKey, {"VantoContainRun"}, false);
    for (const char* key : kPerUserPrinterKeys)
        DeleteNamed(HKEY_CURRENT_USER, key, {"VZ ", "\\\\VZSRV", "Vanto L", "Corvel M"}, false);
    std::vector<std::string> driverNames(std::begin(kPackageDrivers), std::end(kPackageDrivers));
    for (const char* name : kUnclaimedDrivers)
        driverNames.push_back(name);
    for (const char* name : kForeignDrivers)
        driverNames.push_back(name);
    for (const char* name : {kAddOn, kCatchAll, kIgnore})
        driverNames.push_back(name);
    for (const char* environment : {"Windows NT x86", "Windows 4.0"}) {
        for (const char* version : {"Version-0", "Version-1", "Version-2", "Version-3"})
            DeleteNamed(HKEY_LOCAL_MACHINE,
                        std::string(kPrintKey) + "\\Environments\\" + environment + "\\Drivers\\" + version,
                        driverNames, true);
    }
    const std::vector<std::string> processorPrefixes = {"VantoContainProc", kForeignProcessor};
    std::string processorsNT = kProcessorsNT;
    processorsNT.pop_back();
    std::string processors9x = kProcessors9x;
    processors9x.pop_back();
    DeleteNamed(HKEY_LOCAL_MACHINE, processorsNT, processorPrefixes, true);
    DeleteNamed(HKEY_LOCAL_MACHINE, processors9x, processorPrefixes, true);
    std::string monitors = kMonitorsKey;
    monitors.pop_back();
    DeleteNamed(HKEY_LOCAL_MACHINE, monitors, {"Vanto Contain Monitor", kForeignMonitor}, true);

    for (const std::string& name : ServiceNamePool())
        DeleteTestService(name.c_str());
}

}  // namespace containment
