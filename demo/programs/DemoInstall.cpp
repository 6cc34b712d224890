// Installs the demo printer package into the current Wine prefix, the way
// the package's installer would have: files in the system, Windows, colour,
// spooler and maker directories, registry keys, a service, shortcuts, a
// start-up entry, INI keys, an OEM INF and a USB device node. Also lays down
// a few things of another maker that must survive the uninstall.
//   demo_install.exe <package directory> <uninstaller directory> <programs directory>
#include <windows.h>
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void Check(bool ok, const std::string& what)
{
    if (!ok) {
        ++g_failures;
        std::printf("FAILED: %s (error %lu)\n", what.c_str(), GetLastError());
    }
}

std::string WithSlash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::string WindowsDir()
{
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return WithSlash(path);
}

std::string SystemDir()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return WithSlash(path);
}

std::string SpoolerDir(bool processor)
{
    char path[MAX_PATH] = {};
    DWORD needed = 0;
    if (processor)
        GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(path), MAX_PATH, &needed);
    else
        GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(path), MAX_PATH, &needed);
    return WithSlash(path);
}

void MakeDirectories(const std::string& path)
{
    for (std::size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

void WriteFileText(const std::string& path, const std::string& text)
{
    MakeDirectories(path.substr(0, path.find_last_of('\\')));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "write " + path);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void PlaceFile(const std::string& directory, const std::string& name)
{
    WriteFileText(directory + name, "VANTO Corvel demo package: " + name + "\r\n");
}

void Copy(const std::string& from, const std::string& to)
{
    MakeDirectories(to.substr(0, to.find_last_of('\\')));
    Check(CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE, "copy " + from + " to " + to);
}

void SetString(HKEY root, const std::string& key, const char* name, const std::string& value)
{
    HKEY handle = nullptr;
    Check(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) ==
              ERROR_SUCCESS,
          "create key " + key);
    if (!handle)
        return;
    if (name || !value.empty())
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

std::string SpecialFolder(int csidl)
{
    char path[MAX_PATH] = {};
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items) {
        SHGetPathFromIDListA(items, path);
        CoTaskMemFree(items);
    }
    return path[0] ? WithSlash(path) : std::string();
}

#ifdef _WIN64
std::string ReadText(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "read " + path);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

void SetString32(const std::string& key, const char* name, const std::string& value)
{
    HKEY software = nullptr;
    Check(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &software) ==
              ERROR_SUCCESS,
          "32-bit view");
    if (!software)
        return;
    SetString(software, key, name, value);
    RegCloseKey(software);
}

// A 64-bit installation carries the package's 32-bit half as well: the
// files 32-bit programs load in SysWOW64, the x86 drivers beside the x64
// ones (in the spooler too), the maker's keys in the 32-bit registry view.
// The uninstaller's 64-bit program goes into its x64 folder with the
// spooler's state.
void InstallThirtyTwoBitHalf(const std::string& package, const std::string& uninstaller, const std::string& programs)
{
    char wow64[MAX_PATH] = {};
    GetSystemWow64DirectoryA(wow64, MAX_PATH);
    for (const char* name : {"vc44ui.dll", "vc44res.dll", "vantocom.dll", "vantolng.dll"})
        PlaceFile(WithSlash(wow64), name);
    const std::string drivers32 = SystemDir() + "spool\\drivers\\w32x86\\3\\";
    for (const char* name : {"vc44pcl.dll", "vc55ps.dll", "vc55ui.dll", "vc55.ppd"})
        PlaceFile(drivers32, name);
    for (const char* key : {"Corvel4410\\Settings", "Corvel5520", "Comunes", "Fuentes"})
        SetString32(std::string("VANTO\\") + key, "Plataforma", "x86");

    Copy(programs + "x64\\trelun08.exe", uninstaller + "x64\\trelun08.exe");
    Copy(programs + "x64\\VSPOOL08.dll", uninstaller + "x64\\VSPOOL08.dll");
    std::string state = Replaced(ReadText(package + "spoolsim.ini"), "\\w32x86\\", "\\x64\\");
    state += "\r\n; The 32-bit drivers beside the native ones.\r\n";
    const char* const drivers[][2] = {{"VANTO Corvel 4410 PCL", "vc44pcl.dll"}, {"VANTO Corvel 5520 PS", "vc55ps.dll"},
                                      {"Otra Marca Laser 9", nullptr}};
    for (const auto& driver : drivers) {
        state += std::string("[Driver]\r\nName=") + driver[0] + "\r\nEnvironment=Windows NT x86\r\nVersion=3\r\n";
        if (driver[1])
            state += "DriverPath=" + drivers32 + driver[1] + "\r\n";
    }
    WriteFileText(uninstaller + "x64\\spoolsim.ini", state);
}
#endif

void CreateUsbDevice(const char* hardwareId)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PRINTER, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    std::string ids = std::string(hardwareId) + '\0' + '\0';
    const bool ok =
        SetupDiCreateDeviceInfoA(set, "VANTOCORVEL", &GUID_DEVCLASS_PRINTER, nullptr, nullptr, DICD_GENERATE_ID,
                                 &device) &&
        SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(ids.data()),
                                          static_cast<DWORD>(ids.size())) &&
        SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
    Check(ok, std::string("USB device ") + hardwareId);
    SetupDiDestroyDeviceInfoList(set);
}

void CreateService(const char* name, const std::string& binary)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    Check(manager != nullptr, "service manager");
    if (!manager)
        return;
    SC_HANDLE service = CreateServiceA(manager, name, name, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
    Check(service != nullptr || GetLastError() == ERROR_SERVICE_EXISTS, std::string("service ") + name);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::printf("usage: demo_install <package dir> <uninstaller dir> <programs dir>\n");
        return 2;
    }
    CoInitialize(nullptr);
    const std::string package = WithSlash(argv[1]);
    const std::string uninstaller = WithSlash(argv[2]);
    const std::string programs = WithSlash(argv[3]);
    const std::string windows = WindowsDir();
    const std::string system = SystemDir();
    const std::string color = system + "spool\\drivers\\color\\";
    const std::string drivers = SpoolerDir(false) + "3\\";
    const std::string processors = SpoolerDir(true);
    const std::string oemPath = "C:\\Program Files\\VANTO\\Corvel\\";

    // Files the scripts name, where an installer puts them.
    for (const char* name : {"vc44ui.dll", "vc44res.dll", "vantocom.dll", "vantolng.dll", "vantofnt.ttf"})
        PlaceFile(system, name);
    for (const char* name : {"vc44stat.exe", "zrestart.exe"})
        PlaceFile(windows, name);
    PlaceFile(color, "vc44.icm");
    for (const char* name : {"vc44pcl.dll", "vc55ps.dll", "vc55ui.dll", "vc55.ppd"})
        PlaceFile(drivers, name);
    PlaceFile(processors, "vc44proc.dll");
    PlaceFile(oemPath, "pellhelp.dll");
    PlaceFile(oemPath + "bin\\", "vc44pcl.dll");
    PlaceFile(oemPath + "bin\\idiomas\\", "vantolng.dll");
    Copy(programs + "vhookprobe.dll", drivers + "vc44hook.dll");
    Copy(programs + "pelliv_standin.exe", oemPath + "PELLIV32.EXE");
    Copy(package + "VUNZ__08.unm", drivers + "VUNZ__08.unm");

    // The uninstaller itself, with the package's script beside it.
    Copy(programs + "trelun08.exe", uninstaller + "trelun08.exe");
    Copy(programs + "VSPOOL08.dll", uninstaller + "VSPOOL08.dll");
    Copy(package + "VUNZ__08.unm", uninstaller + "VUNZ__08.unm");
    Copy(package + "spoolsim.ini", uninstaller + "spoolsim.ini");

    // The package's INF copy and its precompiled twin.
    Copy(package + "oemcorvel.inf", windows + "inf\\oem44.inf");
    PlaceFile(windows + "inf\\", "oem44.PNF");

    // INI keys and the default printer.
    WritePrivateProfileStringA("Corvel4410", "Port", "LPT1:", (windows + "vanto.ini").c_str());
    WritePrivateProfileStringA("Corvel4410", "Tray", "2", (windows + "vanto.ini").c_str());
    WritePrivateProfileStringA("Corvel4410", "Copies", "1", (windows + "vanto.ini").c_str());
    WriteProfileStringA("windows", "device", "Corvel 4410 Oficina,winspool,LPT1:");

    // Registry: the maker's keys, start-up entry, spooler leftovers.
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\OEMPaths", "Corvel", oemPath);
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\OEM01\\ProgramGroups", "Corvel", "VANTO Corvel");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\VSR32_08", "Version", "8.1");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Filters\\Corvel", "Filter", "vc44flt");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Corvel4410\\Settings", "Resolution", "600");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Corvel5520", "Resolution", "1200");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Oficina", "Installed", "1");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Comunes", "Language", "es");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Fuentes", "Shared", "1");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\VANTO\\Pellivance", "Enabled", "1");
    SetString(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel4410", "Ultima bandeja", "2");
    SetString(HKEY_CURRENT_USER, "SOFTWARE\\VANTO\\Corvel4410", "Copias", "1");
    for (const char* printer : {"Corvel 4410 Oficina", "Corvel 4410 Etiquetas", "Corvel 5520 Recepcion"})
        SetString(HKEY_CURRENT_USER, std::string("SOFTWARE\\VANTO\\") + printer, "Bandeja", "1");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "VANTO Corvel 4410 Estado",
              windows + "vc44stat.exe");
    SetString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Vanto Port Monitor 4410",
              "Driver", "vc44mon.dll");
    // The spooler's keys of the native environment; on 64-bit Windows the
    // x86 drivers have theirs too.
    const std::string environments = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
    const std::string native = sizeof(void*) == 8 ? "Windows x64" : "Windows NT x86";
    SetString(HKEY_LOCAL_MACHINE, environments + native + "\\Print Processors\\VantoProc4410", "Driver",
              "vc44proc.dll");
    for (const std::string& environment : {native, std::string("Windows NT x86")}) {
        for (const char* driver : {"VANTO Corvel 4410 PCL", "VANTO Corvel 5520 PS"})
            SetString(HKEY_LOCAL_MACHINE, environments + environment + "\\Drivers\\Version-3\\" + driver,
                      "Configuration File", "vc44ui.dll");
    }
    CreateService("VantoSpl4410", oemPath + "bin\\vc44spl.exe");

    // Shortcuts: the program group and the start-up entry.
    // On NT the group is made for all users.
    const std::string commonPrograms = SpecialFolder(0x0017);
    const std::string userPrograms = SpecialFolder(0x0002);
    const std::string startup = SpecialFolder(0x0007);
    for (const char* name : {"Corvel 4410 Ayuda.lnk", "Corvel 5520 Ayuda.lnk"})
        PlaceFile(commonPrograms + "VANTO Corvel\\", name);
    PlaceFile(startup, "Corvel 4410 Estado.lnk");

    CreateUsbDevice("USB\\VID_0ACE&PID_4410");
#ifdef _WIN64
    InstallThirtyTwoBitHalf(package, uninstaller, programs);
#endif

    // Another maker's things, some with the package's file names: they stay.
    PlaceFile("C:\\Program Files\\OtraMarca\\", "vantocom.dll");
    PlaceFile("C:\\Program Files\\OtraMarca\\", "vc44pcl.dll");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\OtraMarca\\Laser9", "Installed", "1");
    PlaceFile(userPrograms + "OtraMarca\\", "Laser 9 Ayuda.lnk");

    std::printf("demo package installed%s\n", g_failures ? " with failures" : "");
    CoUninitialize();
    return g_failures ? 1 : 0;
}
