#include "RemovalFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "TextUtil.h"

const COSInfo kWin32s = ClassifiedAs(VER_PLATFORM_WIN32s, 3, 10);
const COSInfo kWin95 = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 0);
const COSInfo kWin98 = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
const COSInfo kWinMe = ClassifiedAs(VER_PLATFORM_WIN32_WINDOWS, 4, 90);
const COSInfo kNT351 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 3, 51);
const COSInfo kNT4 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 4, 0);
const COSInfo kWin2000 = ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 0);
const COSInfo kWinXP = ClassifiedAs(VER_PLATFORM_WIN32_NT, 5, 1);

void RemovalTest::SetUp()
{
    InitCommonControls();
    main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, main);
    page.SetDatabase(&database);
    window = CreateDialogParamA(GetModuleHandleA(nullptr), "IDD_REMOVE", main, DialogProc,
                                reinterpret_cast<LPARAM>(&page));
    ASSERT_NE(nullptr, window);
    UseSystem(kWinXP);
}

void RemovalTest::TearDown()
{
    if (main)
        DestroyWindow(main);
}

void RemovalTest::UseSystem(const COSInfo& os)
{
    page.osInfo = os;
    database.osInfo = os;
    database.isWin9x = os.IsWin9x() ? 1 : 0;
}

InstalledPrinter& RemovalTest::AddRecord(const char* name, const char* driver, bool chosen, const char* server,
                                         int isDefault)
{
    InstalledPrinter printer = MakePrinter(name, driver, "", server, isDefault);
    printer.excluded = chosen ? 0 : 1;
    return database.printers.Append(printer);
}

std::vector<std::string> RemovalTest::JournalStarting(const std::string& prefix) const
{
    std::vector<std::string> lines;
    for (const std::string& line : spooler.Journal()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    }
    return lines;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool DirectoryThere(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HeldFile::HeldFile(const std::string& path)
    : handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldFile::~HeldFile()
{
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

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
    bool any = false;
    const std::string wanted = Folded(prefix);
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        if (Folded(items[i]).find(wanted) != std::string::npos)
            continue;
        kept += items[i] + '\0' + items[i + 1] + '\0';
        any = true;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    if (any) {
        kept += '\0';
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size()));
    } else {
        RegDeleteValueA(key, "PendingFileRenameOperations");
    }
    RegCloseKey(key);
}
