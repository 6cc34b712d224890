#include "Snapshot.h"

#include "Layout.h"
#include "TestPaths.h"
#include "TestServices.h"

namespace containment {

namespace {

bool IsIni(const std::string& name)
{
    const std::string lower = Lower(name);
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0;
}

void RecordTree(const std::string& directory, int depth, FileSnapshot& snapshot)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        FileRecord record;
        record.directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        record.path = directory + name + (record.directory ? "\\" : "");
        record.size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        record.written = found.ftLastWriteTime;
        if (!record.directory && IsIni(name) && record.size < 65536)
            record.content = ReadWholeFile(record.path);
        snapshot[Lower(record.path)] = record;
        if (record.directory && depth > 0)
            RecordTree(record.path, depth - 1, snapshot);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RecordKey(HKEY root, const std::string& rootName, const std::string& subkey, int depth, bool values,
               RegistrySnapshot& snapshot)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    KeyRecord record;
    record.path = subkey.empty() ? rootName : rootName + "\\" + subkey;
    for (DWORD index = 0; values; ++index) {
        char name[16384];
        DWORD nameSize = sizeof(name);
        DWORD type = 0;
        DWORD dataSize = 0;
        LONG status = RegEnumValueA(key, index, name, &nameSize, nullptr, &type, nullptr, &dataSize);
        if (status != ERROR_SUCCESS)
            break;
        std::string data(dataSize, '\0');
        nameSize = sizeof(name);
        status = RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                               reinterpret_cast<BYTE*>(data.empty() ? nullptr : &data[0]), &dataSize);
        if (status != ERROR_SUCCESS)
            break;
        data.resize(dataSize);
        record.values[Lower(name)] = ValueRecord{name, type, data};
    }
    std::vector<std::string> children;
    for (DWORD index = 0; depth != 0; ++index) {
        char name[512];
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    snapshot[Lower(record.path)] = record;
    for (const std::string& child : children)
        RecordKey(root, rootName, subkey.empty() ? child : subkey + "\\" + child, depth < 0 ? depth : depth - 1,
                  values, snapshot);
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

FileSnapshot SnapshotFiles(const std::vector<FileRoot>& roots)
{
    FileSnapshot snapshot;
    for (const FileRoot& root : roots) {
        if (!root.path.empty())
            RecordTree(root.path, root.depth, snapshot);
    }
    return snapshot;
}

RegistrySnapshot SnapshotRegistry(const std::vector<RegistryRoot>& roots)
{
    RegistrySnapshot snapshot;
    for (const RegistryRoot& root : roots)
        RecordKey(root.root, root.rootName, root.subkey, root.depth, root.values, snapshot);
    return snapshot;
}

std::set<std::string> SnapshotServices(const std::vector<std::string>& names)
{
    std::set<std::string> existing;
    for (const std::string& name : names) {
        if (ServiceOpenError(name.c_str()) == 0)
            existing.insert(name);
    }
    return existing;
}

FileDifference CompareFiles(const FileSnapshot& before, const FileSnapshot& after)
{
    FileDifference difference;
    for (const auto& entry : before) {
        const auto found = after.find(entry.first);
        if (found == after.end()) {
            difference.removed.push_back(entry.second);
            continue;
        }
        const FileRecord& old = entry.second;
        const FileRecord& now = found->second;
        if (!old.directory && (old.size != now.size || !SameTime(old.written, now.written) ||
                               old.content != now.content))
            difference.changed.push_back(old);
    }
    return difference;
}

RegistryDifference CompareRegistry(const RegistrySnapshot& before, const RegistrySnapshot& after)
{
    RegistryDifference difference;
    for (const auto& entry : before) {
        const auto found = after.find(entry.first);
        if (found == after.end()) {
            difference.removedKeys.push_back(entry.second.path);
            for (const auto& value : entry.second.values)
                difference.values.push_back({entry.second.path, value.second, true});
            continue;
        }
        for (const auto& value : entry.second.values) {
            const auto now = found->second.values.find(value.first);
            if (now == found->second.values.end())
                difference.values.push_back({entry.second.path, value.second, true});
            else if (now->second.type != value.second.type || now->second.data != value.second.data)
                difference.values.push_back({entry.second.path, value.second, false});
        }
    }
    return difference;
}

std::string ReadRegistryValue(HKEY root, const char* subkey, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    DWORD size = 0;
    DWORD type = 0;
    std::string data;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
            data.clear();
        else
            data.resize(size);
    }
    RegCloseKey(key);
    return data;
}

}  // namespace containment
