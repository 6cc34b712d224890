#include "RemovalFixture.h"

#include <algorithm>

#include "TextUtil.h"

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

