// Runs the printer enumeration against the simulator beside it, as the
// running (emulated) Windows classifies itself, with the switches of its own
// command line; prints the result and one line per record:
//   name|driver|pelled|server|halvaprint|default|excluded|foreign|removed|listed
#include <windows.h>

#include <cstdio>

#include "CommandLineSwitches.h"
#include "OSInfo.h"
#include "PrinterEnumeration.h"
#include "StringLoader.h"
#include "UserMessage.h"

namespace {

int PrintMessage(HWND, const char* text, const char*, UINT)
{
    std::printf("message %s\n", text ? text : "");
    return IDOK;
}

}  // namespace

int main()
{
    SetMessageBoxHandler(PrintMessage);
    COSInfo os;
    CommandLineSwitches switches;
    switches.Parse();
    StringLoader strings(GetModuleHandleA(nullptr));
    PrinterList printers;
    const int result = BuildListOfInstalledPrinters(printers, os, switches, nullptr, strings);
    std::printf("platform=%d result=%d\n", os.GetPlatformKind(), result);
    for (const InstalledPrinter& p : printers)
        std::printf("%s|%s|%s|%s|%d|%d|%d|%d|%d|%d\n", p.name, p.driverName, p.pelledName, p.serverName,
                    p.isHalvaprint, p.isDefault, p.excluded, p.foreign, p.removed, p.listed);
    std::fflush(stdout);
    return 0;
}
