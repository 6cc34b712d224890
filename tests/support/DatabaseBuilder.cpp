#include "DatabaseBuilder.h"

InstalledPrinter MakePrinter(const char* name, const char* driver, const char* pelled, const char* server,
                             int isDefault)
{
    InstalledPrinter printer;
    printer.SetName(name);
    printer.SetDriverName(driver);
    printer.SetPelledName(pelled);
    printer.SetServerName(server);
    printer.isHalvaprint = 1;
    printer.isDefault = isDefault;
    return printer;
}

UninstallProfile MakeDriverProfile(const char* driver, std::initializer_list<const char*> files)
{
    UninstallProfile profile;
    CopyText(profile.name, driver);
    profile.drivers.push_back(driver);
    for (const char* file : files)
        profile.files.push_back(file);
    profile.SortAll();
    profile.UniqueAll();
    return profile;
}
