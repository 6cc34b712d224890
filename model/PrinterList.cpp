#include "PrinterList.h"

InstalledPrinter& PrinterList::Append(const InstalledPrinter& printer)
{
    printers.push_back(printer);
    return printers.back();
}
