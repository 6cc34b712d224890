#include "RemovalFixture.h"

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
    removal.SetDatabase(&database);
    UseSystem(kWinXP);
}

void RemovalTest::UseSystem(const COSInfo& os)
{
    Removal().osInfo = os;
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

