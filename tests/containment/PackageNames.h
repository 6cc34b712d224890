// The fixed names every generated installation draws from, so that what a
// run leaves can always be found and swept.
#pragma once
#include <windows.h>

namespace containment {

inline const char* const kPackageDrivers[] = {"Vanto L1 PCL", "Vanto L2 PS", "Corvel M3", "Corvel M4 (PSCRIPT)",
                                       "Vanto L5 (PSCRIPT)"};
// Drivers no profile names, matched (or not) through their maker's word.
inline const char* const kUnclaimedDrivers[] = {"Vanto Z9", "Corvel Z8", "Nadie X7"};
inline const char* const kForeignDrivers[] = {"Otra Marca 9", "Ajena Laser (PSCRIPT)"};
inline const char* const kManufacturers[] = {"Vanto Oficina", "Corvel Casa", "VANTO Otra"};
inline const char kAddOn[] = "Pellivance";
inline const char kCatchAll[] = "Vanto Comunes";
inline const char kIgnore[] = "Vanto Fuentes";

inline const char* const kFilePool[] = {"vzf0.dll", "vzf1.dll", "vzf2.dll", "vzf3.drv", "vzf4.dll", "vzf5.exe",
                                 "vzf6.hlp", "vzf7.icm", "vzf8.ppd", "vzf9.dll", "vzfa.ini", "vzfb.dat"};
inline const char kUtility[] = "PELLIV32.EXE";
inline const char kRestart[] = "ZRESTART.EXE";
inline const char kScript[] = "VUNZ__08.unm";

inline const char* const kMonitors[] = {"Vanto Contain Monitor 0", "Vanto Contain Monitor 1",
                                        "Vanto Contain Monitor 2"};
inline const char kForeignMonitor[] = "Otra Contain Monitor";
inline const char* const kProcessors[] = {"VantoContainProc0", "VantoContainProc1", "VantoContainProc2"};
inline const char kForeignProcessor[] = "OtraContainProc";
inline const char* const kServices[] = {"VantoContainSvc0", "VantoContainSvc1", "VantoContainSvc2"};
inline const char kForeignService[] = "OtraContainSvc";
inline const char* const kGroups[] = {"Vanto Contain G0", "Vanto Contain G1"};
inline const char kForeignGroup[] = "Vanto Contain Otra";
inline const char* const kItems[] = {"VZItem0", "VZItem1", "VZItem2"};
inline const char* const kIniFiles[] = {"vzcont.ini", "vzcont2.ini"};
inline const char* const kRunValues[] = {"VantoContainRun0", "VantoContainRun1", "VantoContainRun2"};
inline const char kForeignRunValue[] = "VantoContainRunX";

struct KeyPlace {
    HKEY root;
    const char* rootName;
    const char* key;
};
inline const KeyPlace kKeyPool[] = {
    {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VANTO\\C0"},    {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VANTO\\C1"},
    {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\VANTO\\C2"},    {HKEY_CURRENT_USER, "HKCU", "SOFTWARE\\VANTO\\U0"},
    {HKEY_CURRENT_USER, "HKCU", "SOFTWARE\\VANTO\\U1"},     {HKEY_CLASSES_ROOT, "HKCR", "VantoContain.Doc0"},
    {HKEY_CLASSES_ROOT, "HKCR", "VantoContain.Doc1"},
};

inline const char kDriversNT[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-3\\";
inline const char kDrivers9x[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Drivers\\Version-0\\";
inline const char kProcessorsNT[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Print Processors\\";
inline const char kProcessors9x[] =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows 4.0\\Print Processors\\";
inline const char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";

}  // namespace containment
