// Steps 9, 12, 13 and 15: the maker's OEM paths, INI keys, start-up entries
// and the registry lines of the removal profile.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "EventLog.h"
#include "DirectoryPaths.h"
#include "IniDocument.h"
#include "LoadLine.h"
#include "LookOnly.h"
#include "RegistryLine.h"
#include "RegistryTree.h"
#include "RegistryView.h"
#include "RemovalSequence.h"
#include "UninstallDatabase.h"
#include "UniqueHandle.h"
#include "resource.h"

namespace {

const char kOemPathsKey[] = "SOFTWARE\\VANTO\\OEM01\\OEMPaths";
const DWORD kLongestLoadLine = 65536;

HKEY RootKey(RegistryRootId root)
{
    switch (root) {
    case ROOT_HKLM: return HKEY_LOCAL_MACHINE;
    case ROOT_HKCR: return HKEY_CLASSES_ROOT;
    case ROOT_HKCU: return HKEY_CURRENT_USER;
    case ROOT_HKU: return HKEY_USERS;
    default: return nullptr;
    }
}

// The key path without blanks and backslashes around and between its
// components, and how many components it has.
int ComponentCount(const std::string& key)
{
    int count = 0;
    bool inComponent = false;
    for (char c : key) {
        const bool separator = c == '\\';
        if (!separator && c != ' ' && !inComponent) {
            ++count;
            inComponent = true;
        } else if (separator) {
            inComponent = false;
        }
    }
    return count;
}

// No package owns a top-level key of the machine or user hives; under
// HKEY_CLASSES_ROOT a single component (a file type, a ProgID) is fine.
bool MayDeleteKey(RegistryRootId root, const std::string& key)
{
    const int components = ComponentCount(key);
    if (components == 0)
        return false;
    return root == ROOT_HKCR || components >= 2;
}

bool VersionWants(const COSInfo& os, char flag)
{
    switch (flag) {
    case '2': return os.IsWin98();
    case '3': return os.IsWinMe();
    case '4': return os.IsNT4();
    case '5': return os.IsWin2000();
    default: return true;
    }
}

// Keys that printers staying and ignore profiles still name, per root: a
// key tree deleted for the package leaves them (and their parents) alone.
std::vector<std::string> KeptKeys(const UninstallDatabase& database, RegistryRootId root)
{
    std::vector<std::string> kept;
    for (const std::string& text : database.keepProfile.registryKeys) {
        RegistryLine line;
        if (ParseRegistryLine(text.c_str(), line) == REGLINE_OK && line.root == root)
            kept.push_back(line.key);
    }
    return kept;
}

// key is ancestor or lies below it.
bool KeyWithin(const std::string& key, const std::string& ancestor)
{
    const std::string k = TrimmedOf(key, "\\");
    const std::string a = TrimmedOf(ancestor, "\\");
    if (a.empty() || k.size() < a.size() || !TextEquals(k.substr(0, a.size()).c_str(), a.c_str()))
        return false;
    return k.size() == a.size() || k[a.size()] == '\\';
}

// What a line of a profile that stays claims: a value; a key with its
// values; or, with a code (whichever version it is meant for), a key tree.
struct KeptRegistry {
    std::vector<RegistryLine> lines;

    explicit KeptRegistry(const UninstallDatabase& database)
    {
        for (const std::string& text : database.keepProfile.registryKeys) {
            RegistryLine line;
            if (ParseRegistryLine(text.c_str(), line) == REGLINE_OK)
                lines.push_back(line);
        }
    }
    bool TreeHolds(RegistryRootId root, const std::string& key) const
    {
        for (const RegistryLine& kept : lines) {
            if (kept.root == root && kept.value.empty() && kept.hasFlag && KeyWithin(key, kept.key))
                return true;
        }
        return false;
    }
    bool ClaimsValue(RegistryRootId root, const std::string& key, const std::string& value) const
    {
        for (const RegistryLine& kept : lines) {
            if (kept.root != root || !TextEquals(TrimmedOf(kept.key, "\\").c_str(), TrimmedOf(key, "\\").c_str()))
                continue;
            if (kept.value.empty() ? !kept.hasFlag : TextEquals(kept.value.c_str(), value.c_str()))
                return true;
        }
        return TreeHolds(root, key);
    }
    // Deleting the key alone takes its values, so nothing in it may be claimed.
    bool ClaimsAnythingIn(RegistryRootId root, const std::string& key) const
    {
        for (const RegistryLine& kept : lines) {
            if (kept.root == root && KeyWithin(kept.key, key))
                return true;
        }
        return TreeHolds(root, key);
    }
};

void SayWhyItStays(const std::string& line)
{
    if (WhatIfRecord* look = LookOnlyRecord())
        look->Stays("a printer that stays or an ignore profile needs it", line);
}

}  // namespace

void RemovalSequence::collectOemPaths()
{
    if (!database)
        return;
    for (REGSAM view : ViewsOf(HKEY_LOCAL_MACHINE, kOemPathsKey)) {
        const RegistryViewScope inView(view);
        RegistryKey key;
        if (OpenKeyExInView(HKEY_LOCAL_MACHINE, kOemPathsKey, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
            continue;
        for (DWORD index = 0;; ++index) {
            char name[kTextField] = {};
            DWORD nameSize = sizeof(name);
            char data[kTextField + 1] = {};
            DWORD dataSize = kTextField;
            DWORD type = 0;
            const LONG status =
                RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
            // A value too long for the buffer is skipped; any other failure
            // would repeat for ever.
            if (status == ERROR_MORE_DATA)
                continue;
            if (status != ERROR_SUCCESS)
                break;
            // Only text is a directory.
            if ((type == REG_SZ || type == REG_EXPAND_SZ) && data[0] != '\0')
                database->removalProfile.oemPaths.push_back(data);
        }
    }
    TextList& paths = database->removalProfile.oemPaths;
    UniqueTextList(paths);
    SortTextList(paths);
}

void RemovalSequence::removeIniEntries()
{
    if (!database)
        return;
    FileSpec windows;
    windows.Resolve(DIR_WINDOWS);
    const std::string directory = windows.DirectoryPath();
    if (directory.empty())
        return;
    for (const std::string& entry : database->removalProfile.deleteIni) {
        const std::vector<std::string> fields = CommaFields(entry, 3);
        if (fields[0].empty() || fields[1].empty() || fields[2].empty())
            continue;
        FileSpec file;
        if (!file.Assign(fields[0].c_str()))
            continue;
        const std::string path = directory + file.FileName();
        if (!FitsField(path.c_str()) || file.FileName()[0] == '\0')
            continue;
        if (!FindEntryInSection(path.c_str(), fields[1].c_str(), fields[2].c_str()))
            continue;
        if (WhatIfRecord* look = LookOnlyRecord())
            look->Note("DeleteIniEntry", path + " [" + fields[1] + "] " + fields[2], LookResult::kFound);
        else
            RemoveEntryLine(path.c_str(), fields[1].c_str(), fields[2].c_str());
    }
}

void RemovalSequence::removeStartupEntries()
{
    if (!database)
        return;
    for (const std::string& entry : database->removalProfile.deleteLoadRun) {
        const std::vector<std::string> fields = CommaFields(entry, 2);
        if (!fields[0].empty() && !fields[1].empty())
            removeStartupEntry(fields[0].c_str(), fields[1].c_str());
    }
}

int RemovalSequence::removeStartupEntry(const char* valueName, const char* command)
{
    if (IsEmptyText(valueName) || IsEmptyText(command))
        return 0;
    if (!osInfo.IsWin32s()) {
        const std::string run = strings.GetString(IDS_RUN_KEY);
        int deleted = 0;
        for (REGSAM view : ViewsOf(HKEY_LOCAL_MACHINE, run)) {
            const RegistryViewScope inView(view);
            deleted |= DeleteRegistryValue(HKEY_LOCAL_MACHINE, run.c_str(), valueName) == ERROR_SUCCESS ? 1 : 0;
        }
        return deleted;
    }
    WhatIfRecord* look = LookOnlyRecord();
    if (!look)
        WriteProfileStringA(nullptr, nullptr, nullptr);
    // The whole line, however long: a cut line written back would lose the
    // programs past the cut.
    std::vector<char> load;
    for (DWORD size = 256;; size *= 4) {
        load.assign(size, '\0');
        const DWORD length = GetProfileStringA("windows", "Load", "", load.data(), size);
        if (length < size - 1)
            break;
        if (size >= kLongestLoadLine)
            return 0;
    }
    CharLowerA(load.data());
    std::string lowered = command;
    CharLowerA(&lowered[0]);
    std::string line = load.data();
    if (!RemoveLoadCommand(line, lowered))
        return 0;
    if (look) {
        look->Note("RemoveLoadCommand", std::string("win.ini [windows] load ") + command, LookResult::kFound);
        return 1;
    }
    const int result = WriteProfileStringA("windows", "load", line.c_str()) ? 1 : 0;
    WriteProfileStringA(nullptr, nullptr, nullptr);
    return result;
}

namespace {

// One line in the current registry view.
void ApplyRegistryLine(const std::string& text, const RegistryLine& line, HKEY root, const KeptRegistry& kept,
                       const UninstallDatabase& database, const COSInfo& os)
{
    if (!line.value.empty()) {
        if (kept.ClaimsValue(line.root, line.key, line.value))
            SayWhyItStays(text);
        else
            LogEvent("RegDeleteValue", text.c_str(),
                     static_cast<unsigned long>(DeleteRegistryValue(root, line.key.c_str(), line.value.c_str())));
        return;
    }
    if (!MayDeleteKey(line.root, line.key))
        return;
    if (!line.hasFlag) {
        // A line without a code names the key and its values; the 9x
        // family's RegDeleteKeyA would take its subkeys along too (the
        // maker's key holds its other products).
        if (kept.ClaimsAnythingIn(line.root, line.key))
            SayWhyItStays(text);
        else
            LogEvent("RegDeleteKey", text.c_str(),
                     static_cast<unsigned long>(DeleteRegistryKeyWithoutSubkeys(root, line.key.c_str())));
        return;
    }
    if (kept.TreeHolds(line.root, line.key)) {
        SayWhyItStays(text);
        return;
    }
    if (VersionWants(os, line.flag.empty() ? '\0' : line.flag[0]))
        LogEvent("DeleteRegistryTree", text.c_str(),
                 static_cast<unsigned long>(
                     DeleteRegistryTreeExcept(root, line.key.c_str(), KeptKeys(database, line.root))));
}

}  // namespace

void RemovalSequence::applyRegistryLines()
{
    if (!database)
        return;
    TextList lines = database->removalProfile.registryKeys;
    SortTextList(lines);
    UniqueTextList(lines);
    std::reverse(lines.begin(), lines.end());
    const KeptRegistry kept(*database);
    for (const std::string& text : lines) {
        RegistryLine line;
        if (ParseRegistryLine(text.c_str(), line) != REGLINE_OK)
            continue;
        HKEY root = RootKey(line.root);
        if (!root || ComponentCount(line.key) == 0)
            continue;
        for (REGSAM view : ViewsOf(root, line.key)) {
            const RegistryViewScope inView(view);
            ApplyRegistryLine(text + RegistryViewSuffix(), line, root, kept, *database, osInfo);
        }
    }
}
