// A random installation of the printer package: its uninstall script, its
// printers in the simulated spooler, its files, registry keys, services,
// shortcuts, INI keys and start-up entries, and decoys beside all of them
// that belong to nobody's package.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "Layout.h"
#include "SimState.h"

namespace containment {

enum class ProfileKind { Driver, Manufacturer, CatchAll, Ignore };

struct GeneratedProfile {
    std::string name;
    ProfileKind kind = ProfileKind::Driver;
    std::string prefix;
    std::map<std::string, std::vector<std::string>> items;  // category section name -> items as written

    const std::vector<std::string>& Items(const std::string& category) const;
};

struct RegistryEntry {
    HKEY root = nullptr;
    std::string rootName;
    std::string key;
    bool hasValue = false;
    std::string value;
    std::string data;
};

struct FileToWrite {
    std::string path;
    std::string content;
};

struct Installation {
    unsigned seed = 0;
    bool unpell = false;  // the add-on alone is removed
    std::vector<GeneratedProfile> profiles;
    std::vector<std::string> scriptPaths;       // copies where the loader looks
    std::vector<std::string> decoyScriptPaths;  // copies elsewhere
    spoolsim::State spooler;
    std::vector<FileToWrite> files;
    std::vector<std::string> utilityPaths;  // copies of the utility's stand-in
    std::vector<RegistryEntry> registry;
    std::vector<std::string> services;
    std::vector<std::string> oemPathValues;
    std::string defaultDevice;  // WIN.INI [windows] device; empty for none

    // Things of nobody's package that must survive whatever is chosen.
    std::vector<std::string> decoyFiles;
    std::vector<RegistryEntry> decoyRegistry;
    std::vector<std::string> decoyServices;
    std::vector<std::string> foreignPrinters;

    std::string ScriptText() const;
};

void AddRegistryKey(std::vector<RegistryEntry>& list, HKEY root, const std::string& key);
void AddRegistryValue(std::vector<RegistryEntry>& list, HKEY root, const std::string& key, const std::string& value,
                      const std::string& data);

// Same seed, same installation.
Installation GenerateInstallation(unsigned seed, const Layout& layout);

// Lays the installation down (the simulator state goes to statePath).
// Failures are reported through GoogleTest.
void Install(const Installation& installation, const Layout& layout, const std::string& utilityStandIn);

// Removes everything any generated installation may have left, by the
// generator's fixed names, so it also clears what a crashed run left.
void SweepInstallations(const Layout& layout);

// The names every generated installation draws from.
const std::vector<std::string>& ServiceNamePool();
const std::vector<std::string>& IniFileNames();

// Fixed places the generator uses.
extern const char kRunKey[];
extern const char* const kPerUserPrinterKeys[4];
extern const char kPrintKey[];

}  // namespace containment
