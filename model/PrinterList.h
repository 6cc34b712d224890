// The installed printers of the uninstall database. Pure code.
#pragma once
#include <list>

#include "InstalledPrinter.h"

// The printers in enumeration order. Records are appended by copy and never
// taken out, so references to them stay valid.
class PrinterList {
public:
    typedef std::list<InstalledPrinter>::iterator iterator;
    typedef std::list<InstalledPrinter>::const_iterator const_iterator;

    InstalledPrinter& Append(const InstalledPrinter& printer);
    bool IsEmpty() const { return printers.empty(); }
    int Count() const { return static_cast<int>(printers.size()); }

    iterator begin() { return printers.begin(); }
    iterator end() { return printers.end(); }
    const_iterator begin() const { return printers.begin(); }
    const_iterator end() const { return printers.end(); }

private:
    std::list<InstalledPrinter> printers;
};
