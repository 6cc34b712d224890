/* VSPOOL08.dll: each export calls the system function of the same name
   through an ordinary import of winspool.drv or advapi32.dll, so every
   Windows loader resolves it (no export forwarders). The exports are named
   in VSPOOL08.def; the functions here carry a prefix because the import
   libraries of winspool and advapi32 already define the plain names. The
   system function's result and last-error code reach the caller untouched. */
#include <windows.h>
#include <winspool.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}

BOOL WINAPI ShimEnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size,
                             LPDWORD needed, LPDWORD returned)
{
    return EnumPrintersA(flags, name, level, buffer, size, needed, returned);
}

BOOL WINAPI ShimOpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    return OpenPrinterA(name, printer, defaults);
}

BOOL WINAPI ShimGetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return GetPrinterA(printer, level, buffer, size, needed);
}

DWORD WINAPI ShimGetPrinterDataA(HANDLE printer, LPSTR value, LPDWORD type, LPBYTE data, DWORD size,
                                LPDWORD needed)
{
    return GetPrinterDataA(printer, value, type, data, size, needed);
}

BOOL WINAPI ShimClosePrinter(HANDLE printer)
{
    return ClosePrinter(printer);
}

BOOL WINAPI ShimSetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD command)
{
    return SetPrinterA(printer, level, buffer, command);
}

BOOL WINAPI ShimGetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer,
                                 DWORD size, LPDWORD needed)
{
    return GetPrinterDriverA(printer, environment, level, buffer, size, needed);
}

BOOL WINAPI ShimGetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level,
                                          LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return GetPrinterDriverDirectoryA(server, environment, level, buffer, size, needed);
}

BOOL WINAPI ShimGetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level,
                                           LPBYTE buffer, DWORD size, LPDWORD needed)
{
    return GetPrintProcessorDirectoryA(server, environment, level, buffer, size, needed);
}

BOOL WINAPI ShimEnumJobsA(HANDLE printer, DWORD first, DWORD count, DWORD level, LPBYTE buffer,
                         DWORD size, LPDWORD needed, LPDWORD returned)
{
    return EnumJobsA(printer, first, count, level, buffer, size, needed, returned);
}

BOOL WINAPI ShimSetJobA(HANDLE printer, DWORD job, DWORD level, LPBYTE buffer, DWORD command)
{
    return SetJobA(printer, job, level, buffer, command);
}

BOOL WINAPI ShimDeletePrinter(HANDLE printer)
{
    return DeletePrinter(printer);
}

BOOL WINAPI ShimDeletePrinterConnectionA(LPSTR name)
{
    return DeletePrinterConnectionA(name);
}

BOOL WINAPI ShimEnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                   DWORD size, LPDWORD needed, LPDWORD returned)
{
    return EnumPrinterDriversA(server, environment, level, buffer, size, needed, returned);
}

BOOL WINAPI ShimDeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driver)
{
    return DeletePrinterDriverA(server, environment, driver);
}

BOOL WINAPI ShimDeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitor)
{
    return DeleteMonitorA(server, environment, monitor);
}

BOOL WINAPI ShimEnumMonitorsA(LPSTR server, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                              LPDWORD returned)
{
    return EnumMonitorsA(server, level, buffer, size, needed, returned);
}

BOOL WINAPI ShimEnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, LPBYTE buffer,
                                    DWORD size, LPDWORD needed, LPDWORD returned)
{
    return EnumPrintProcessorsA(server, environment, level, buffer, size, needed, returned);
}

BOOL WINAPI ShimDeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR processor)
{
    return DeletePrintProcessorA(server, environment, processor);
}

LONG WINAPI ShimRegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result)
{
    return RegOpenKeyA(key, subKey, result);
}

LONG WINAPI ShimRegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    return RegOpenKeyExA(key, subKey, options, access, result);
}

LONG WINAPI ShimRegCloseKey(HKEY key)
{
    return RegCloseKey(key);
}

LONG WINAPI ShimRegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD size)
{
    return RegEnumKeyA(key, index, name, size);
}

LONG WINAPI ShimRegDeleteKeyA(HKEY key, LPCSTR subKey)
{
    return RegDeleteKeyA(key, subKey);
}

LONG WINAPI ShimRegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                             LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    return RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
}

LONG WINAPI ShimRegDeleteValueA(HKEY key, LPCSTR value)
{
    return RegDeleteValueA(key, value);
}

LONG WINAPI ShimRegQueryValueExA(HKEY key, LPCSTR value, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                LPDWORD dataSize)
{
    return RegQueryValueExA(key, value, reserved, type, data, dataSize);
}

LONG WINAPI ShimRegSetValueExA(HKEY key, LPCSTR value, DWORD reserved, DWORD type, const BYTE* data,
                              DWORD dataSize)
{
    return RegSetValueExA(key, value, reserved, type, data, dataSize);
}
