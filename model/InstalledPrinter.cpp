#include "InstalledPrinter.h"

InstalledPrinter::InstalledPrinter()
    : isHalvaprint(0), isDefault(0), excluded(0), foreign(0), removed(0), listed(1), unreadable(0)
{
    name[0] = driverName[0] = pelledName[0] = serverName[0] = portName[0] = '\0';
}

bool InstalledPrinter::MayUseUsbPort() const
{
    return portName[0] == '\0' ? serverName[0] == '\0' : TextStartsWith(portName, "USB");
}
