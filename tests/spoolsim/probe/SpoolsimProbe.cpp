// Prints what the simulator answers the program it is loaded into, so tests
// can see its answers under an emulated Windows version.
//   spoolsim_probe enum <level>   printers (local and connections) at that level
//   spoolsim_probe drivers        level-2 drivers of the local environment
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int EnumeratePrinters(DWORD level)
{
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(0);
    BOOL ok = EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, level, nullptr, 0, &needed,
                            &returned);
    std::printf("size result=%d error=%lu needed=%lu\n", ok, GetLastError(), needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    ok = EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, level, buffer.data(), needed, &needed,
                       &returned);
    std::printf("data result=%d returned=%lu\n", ok, returned);
    for (DWORD i = 0; ok && i < returned; ++i) {
        const char* name = level == 4 ? reinterpret_cast<PRINTER_INFO_4A*>(buffer.data())[i].pPrinterName
                          : level == 5 ? reinterpret_cast<PRINTER_INFO_5A*>(buffer.data())[i].pPrinterName
                                       : reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())[i].pPrinterName;
        std::printf("printer %s\n", name);
    }
    return 0;
}

int ListDrivers()
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrinterDriversA(nullptr, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed ? needed : 1);
    const BOOL ok = EnumPrinterDriversA(nullptr, nullptr, 2, buffer.data(), needed, &needed, &returned);
    for (DWORD i = 0; ok && i < returned; ++i) {
        const DRIVER_INFO_2A& driver = reinterpret_cast<DRIVER_INFO_2A*>(buffer.data())[i];
        std::printf("driver %s|%s\n", driver.pName, driver.pEnvironment);
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int result = 2;
    if (argc == 3 && std::strcmp(argv[1], "enum") == 0)
        result = EnumeratePrinters(static_cast<DWORD>(std::atoi(argv[2])));
    else if (argc == 2 && std::strcmp(argv[1], "drivers") == 0)
        result = ListDrivers();
    std::fflush(stdout);
    return result;
}
