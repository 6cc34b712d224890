#include "RegistryTree.h"

#include <string>
#include <vector>

#include "LookOnly.h"
#include "RegistryView.h"
#include "TextUtil.h"
#include "UniqueHandle.h"

namespace {

bool NamesOnlyTheRoot(const char* subkey)
{
    if (!subkey)
        return true;
    for (; *subkey; ++subkey) {
        if (*subkey != '\\')
            return false;
    }
    return true;
}

bool HasSubkey(HKEY key)
{
    char name[261] = {};
    return RegEnumKeyA(key, 0, name, sizeof(name)) != ERROR_NO_MORE_ITEMS;
}

// A key that still holds a kept one stays; what else it held goes.
void DeleteValues(HKEY key)
{
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[16384] = {};
        DWORD size = sizeof(name);
        const LONG status = RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    for (const std::string& name : names)
        RegDeleteValueA(key, name.c_str());
}

bool IsKept(const std::string& path, const std::vector<std::string>* keep)
{
    if (!keep)
        return false;
    const std::string own = TrimmedOf(path, "\\");
    for (const std::string& kept : *keep) {
        if (TextEquals(TrimmedOf(kept, "\\").c_str(), own.c_str()))
            return true;
    }
    return false;
}

void Note(LONG& firstError, LONG status)
{
    if (firstError == ERROR_SUCCESS)
        firstError = status;
}

// Deletes what may go at and below subkey; true once subkey is gone. The
// first Windows error met is kept in firstError; a key that stays for a
// kept one is not an error.
bool DeleteTree(HKEY root, const std::string& subkey, const std::vector<std::string>* keep, LONG& firstError)
{
    if (IsKept(subkey, keep))
        return false;
    RegistryKey key;
    LONG status = OpenKeyInView(root, subkey.c_str(), key.Receive());
    if (status != ERROR_SUCCESS || !key.Valid()) {
        Note(firstError, status != ERROR_SUCCESS ? status : ERROR_INVALID_HANDLE);
        return false;
    }

    const std::string prefix = subkey.back() == '\\' ? subkey : subkey + '\\';
    bool subkeyStays = false;
    DWORD index = 0;
    do {
        char name[261] = {};
        status = RegEnumKeyA(key.Get(), index, name, sizeof(name));
        if (status == ERROR_SUCCESS) {
            // A deleted subkey frees its index for the next one.
            if (DeleteTree(root, prefix + name, keep, firstError))
                --index;
            else
                subkeyStays = true;
        }
        ++index;
    } while (status == ERROR_SUCCESS);

    // Windows 95, 98 and Me delete a key with all its subkeys: a key is
    // deleted only once nothing is left below it, on every system.
    bool deleted = false;
    if (status != ERROR_NO_MORE_ITEMS) {
        Note(firstError, status);
    } else if (subkeyStays || HasSubkey(key.Get())) {
        DeleteValues(key.Get());
    } else {
        status = DeleteKeyInView(root, subkey.c_str());
        Note(firstError, status);
        deleted = status == ERROR_SUCCESS;
    }
    return deleted;
}

LONG DeleteTreeResult(HKEY root, const char* subkey, const std::vector<std::string>* keep)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    LONG firstError = ERROR_SUCCESS;
    DeleteTree(root, subkey, keep, firstError);
    return firstError;
}

const char kKeptReason[] = "a printer that stays or an ignore profile needs it";

// A subkey the look has not made gone.
bool HasSubkeyLeft(const WhatIfRecord& record, HKEY root, HKEY key, const std::string& subkey)
{
    char name[261] = {};
    for (DWORD index = 0; RegEnumKeyA(key, index, name, sizeof(name)) == ERROR_SUCCESS; ++index) {
        if (!record.IsGone(GoneKey(root, subkey + "\\" + name)))
            return true;
    }
    return false;
}

// A key that stays for a kept one loses its values (DeleteValues). The name
// buffer is on the heap: LookAtTree recurses once per key level.
void MarkValuesGone(WhatIfRecord& record, HKEY root, HKEY key, const std::string& subkey)
{
    std::vector<char> value(16384);
    for (DWORD index = 0;; ++index) {
        DWORD size = static_cast<DWORD>(value.size());
        const LONG status = RegEnumValueA(key, index, value.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        record.MarkGone(GoneValue(root, subkey, std::string(value.data(), size)));
    }
}

// DeleteTree without its deletions: true when subkey would go.
bool LookAtTree(WhatIfRecord& record, HKEY root, const std::string& subkey, const std::vector<std::string>* keep)
{
    if (IsKept(subkey, keep)) {
        record.Stays(kKeptReason, RegistryPath(root, subkey));
        return false;
    }
    RegistryKey key;
    if (OpenKeyExInView(root, subkey.c_str(), KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    const std::string own = TrimmedOf(subkey, "\\");
    bool subkeyStays = false;
    char name[261] = {};
    for (DWORD index = 0; RegEnumKeyA(key.Get(), index, name, sizeof(name)) == ERROR_SUCCESS; ++index) {
        const std::string child = own + "\\" + name;
        if (!record.IsGone(GoneKey(root, child)) && !LookAtTree(record, root, child, keep))
            subkeyStays = true;
    }
    if (!subkeyStays) {
        record.MarkGone(GoneKey(root, own));
        return true;
    }
    MarkValuesGone(record, root, key.Get(), own);
    return false;
}

bool KeyPresent(const WhatIfRecord& record, HKEY root, const char* subkey)
{
    RegistryKey key;
    return !KeyGone(record, root, subkey) &&
           OpenKeyExInView(root, subkey, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

LONG LookAtTreeDeletion(WhatIfRecord& record, HKEY root, const char* subkey, const std::vector<std::string>* keep)
{
    if (!KeyPresent(record, root, subkey)) {
        record.Note("DeleteRegistryTree", RegistryPath(root, subkey), LookResult::kNotFound);
        return ERROR_FILE_NOT_FOUND;
    }
    record.Note("DeleteRegistryTree", RegistryPath(root, subkey), LookResult::kFound);
    LookAtTree(record, root, subkey, keep);
    return ERROR_SUCCESS;
}

LONG DeleteTreeOrLook(HKEY root, const char* subkey, const std::vector<std::string>* keep)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    if (WhatIfRecord* look = LookOnlyRecord())
        return LookAtTreeDeletion(*look, root, subkey, keep);
    return DeleteTreeResult(root, subkey, keep);
}

LONG LookAtKeyDeletion(WhatIfRecord& record, HKEY root, const char* subkey)
{
    const std::string target = RegistryPath(root, subkey);
    RegistryKey key;
    if (KeyGone(record, root, subkey) || OpenKeyExInView(root, subkey, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
        record.Note("DeleteRegistryKey", target, LookResult::kNotFound);
        return ERROR_FILE_NOT_FOUND;
    }
    if (HasSubkeyLeft(record, root, key.Get(), TrimmedOf(subkey, "\\"))) {
        record.Note("DeleteRegistryKey", target, LookResult::kRefused);
        return ERROR_ACCESS_DENIED;
    }
    record.Note("DeleteRegistryKey", target, LookResult::kFound);
    record.MarkGone(GoneKey(root, subkey));
    return ERROR_SUCCESS;
}

}  // namespace

LONG DeleteRegistryTree(HKEY root, const char* subkey) { return DeleteTreeOrLook(root, subkey, nullptr); }

LONG DeleteRegistryTreeExcept(HKEY root, const char* subkey, const std::vector<std::string>& keep)
{
    return DeleteTreeOrLook(root, subkey, &keep);
}

LONG DeleteRegistryKeyWithoutSubkeys(HKEY root, const char* subkey)
{
    if (NamesOnlyTheRoot(subkey))
        return ERROR_INVALID_PARAMETER;
    if (WhatIfRecord* look = LookOnlyRecord())
        return LookAtKeyDeletion(*look, root, subkey);
    RegistryKey key;
    LONG status = OpenKeyInView(root, subkey, key.Receive());
    if (status != ERROR_SUCCESS)
        return status;
    const bool hasSubkey = HasSubkey(key.Get());
    key.Reset();
    return hasSubkey ? ERROR_ACCESS_DENIED : DeleteKeyInView(root, subkey);
}

LONG DeleteRegistryValue(HKEY root, const char* subkey, const char* value)
{
    if (WhatIfRecord* look = LookOnlyRecord()) {
        const std::string target = RegistryPath(root, subkey) + "," + value;
        RegistryKey key;
        const bool present = !KeyGone(*look, root, subkey) && !look->IsGone(GoneValue(root, subkey, value)) &&
                             OpenKeyExInView(root, subkey, KEY_READ, key.Receive()) == ERROR_SUCCESS &&
                             RegQueryValueExA(key.Get(), value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        look->Note("DeleteRegistryValue", target, present ? LookResult::kFound : LookResult::kNotFound);
        if (present)
            look->MarkGone(GoneValue(root, subkey, value));
        return present ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    RegistryKey key;
    const LONG status = OpenKeyExInView(root, subkey, KEY_ALL_ACCESS, key.Receive());
    return status != ERROR_SUCCESS ? status : RegDeleteValueA(key.Get(), value);
}
