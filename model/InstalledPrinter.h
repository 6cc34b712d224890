// One installed printer as the enumeration found it, with the flags the
// selection and the removal update in place. Pure code.
#pragma once
#include "TextUtil.h"

struct InstalledPrinter {
    char name[kTextField];
    char driverName[kTextField];
    char pelledName[kTextField];  // the printer this one is linked to
    char serverName[kTextField];  // empty for a printer of this computer
    char portName[kTextField];    // empty when the spooler did not say
    int isHalvaprint;
    int isDefault;
    int excluded;  // 1: the printer stays
    int foreign;   // not of this package: never shown, never removed
    int removed;
    int listed;    // 0: hidden by the command-line filter
    int unreadable;  // the spooler gave no details: it always stays

    InstalledPrinter();

    // Null or empty leaves the field empty; a longer text is cut to 259
    // characters and false returned.
    bool SetName(const char* text) { return CopyText(name, text); }
    bool SetDriverName(const char* text) { return CopyText(driverName, text); }
    bool SetPelledName(const char* text) { return CopyText(pelledName, text); }
    bool SetServerName(const char* text) { return CopyText(serverName, text); }
    bool SetPortName(const char* text) { return CopyText(portName, text); }

    // Not foreign, not removed and not hidden by the filter.
    bool IsListed() const { return !foreign && !removed && listed; }
    // Whether the spooler may print to it through a USB port; a printer
    // whose port is not known may.
    bool MayUseUsbPort() const;
};
