#include "InstalledPrinter.h"

InstalledPrinter::InstalledPrinter()
    : isHalvaprint(0), isDefault(0), excluded(0), foreign(0), removed(0), listed(1)
{
    name[0] = driverName[0] = pelledName[0] = serverName[0] = '\0';
}
