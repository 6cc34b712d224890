// What the removal could touch, captured before and after it: file trees,
// registry subtrees and services. Keys of the maps are lower-case paths.
#pragma once
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace containment {

struct FileRecord {
    std::string path;  // as found; directories end with a backslash
    bool directory = false;
    unsigned long long size = 0;
    FILETIME written = {};
    std::string content;  // INI files only
};

struct FileRoot {
    std::string path;  // ends with a backslash
    int depth;         // directory levels below path to record
};

typedef std::map<std::string, FileRecord> FileSnapshot;

FileSnapshot SnapshotFiles(const std::vector<FileRoot>& roots);

struct ValueRecord {
    std::string name;
    DWORD type = 0;
    std::string data;
};

struct KeyRecord {
    std::string path;  // "HKLM\SOFTWARE\..."
    std::map<std::string, ValueRecord> values;
};

struct RegistryRoot {
    HKEY root;
    std::string rootName;  // HKLM, HKCU, HKCR, HKU
    std::string subkey;
    int depth;  // levels of subkeys below it to record; -1 for all
    bool values = true;
};

typedef std::map<std::string, KeyRecord> RegistrySnapshot;

RegistrySnapshot SnapshotRegistry(const std::vector<RegistryRoot>& roots);

// The names of those services that exist.
std::set<std::string> SnapshotServices(const std::vector<std::string>& names);

// What went away or changed between two snapshots of the same roots.
struct FileDifference {
    std::vector<FileRecord> removed;
    std::vector<FileRecord> changed;  // the record before
};
FileDifference CompareFiles(const FileSnapshot& before, const FileSnapshot& after);

struct RegistryDifference {
    std::vector<std::string> removedKeys;  // paths as recorded
    struct Value {
        std::string key;
        ValueRecord value;
        bool removed;  // false: changed
    };
    std::vector<Value> values;
};
RegistryDifference CompareRegistry(const RegistrySnapshot& before, const RegistrySnapshot& after);

std::string ReadRegistryValue(HKEY root, const char* subkey, const char* name);

}  // namespace containment
