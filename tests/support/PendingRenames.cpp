#include "PendingRenames.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "TextUtil.h"

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

}  // namespace

std::string RawPendingRenames()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    DWORD size = 0;
    std::string data;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        size > 0) {
        data.assign(size, '\0');
        if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]),
                             &size) != ERROR_SUCCESS)
            data.clear();
        else
            data.resize(size);
    }
    RegCloseKey(key);
    return data;
}

namespace {

std::string Folded(std::string text)
{
    for (char& c : text)
        c = FoldChar(c);
    return text;
}

}  // namespace

std::string PendingRenames()
{
    std::string joined = RawPendingRenames();
    std::replace(joined.begin(), joined.end(), '\0', '|');
    return joined;
}

void RestorePendingRenames(const std::string& raw)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    if (raw.empty())
        RegDeleteValueA(key, "PendingFileRenameOperations");
    else
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(raw.data()),
                       static_cast<DWORD>(raw.size()));
    RegCloseKey(key);
}

void ForgetPendingRenames(const std::string& prefix)
{
    const std::string raw = RawPendingRenames();
    if (raw.empty())
        return;
    // Pairs of source and target, each NUL-terminated; a final NUL ends the list.
    std::vector<std::string> items;
    for (std::size_t at = 0; at < raw.size();) {
        const std::size_t end = raw.find('\0', at);
        const std::size_t stop = end == std::string::npos ? raw.size() : end;
        items.push_back(raw.substr(at, stop - at));
        at = stop + 1;
    }
    while (!items.empty() && items.back().empty() && items.size() % 2 == 1)
        items.pop_back();
    std::string kept;
    const std::string wanted = Folded(prefix);
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        if (Folded(items[i]).find(wanted) != std::string::npos)
            continue;
        kept += items[i] + '\0' + items[i + 1] + '\0';
    }
    if (!kept.empty())
        kept += '\0';
    RestorePendingRenames(kept);
}
