#include "SpoolerCallTimer.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>

#include "BenchReport.h"

namespace {

SpoolerCallTotals g_totals;

struct Route {
    const char* name;
    void** original;
    void* wrapper;
};

// One wrapper per routed function: times the call and hands it on to the
// entry the import table held.
template <int Id, typename R, typename... A> struct Timed {
    static R(WINAPI* original)(A...);
    static R WINAPI Call(A... arguments)
    {
        Stopwatch watch;
        const R result = original(arguments...);
        g_totals.ms += watch.ElapsedMs();
        ++g_totals.calls;
        return result;
    }
};
template <int Id, typename R, typename... A> R(WINAPI* Timed<Id, R, A...>::original)(A...) = nullptr;

template <int Id, typename R, typename... A> Route RouteOf(const char* name, R(WINAPI*)(A...))
{
    return Route{name, reinterpret_cast<void**>(&Timed<Id, R, A...>::original),
                 reinterpret_cast<void*>(&Timed<Id, R, A...>::Call)};
}

}  // namespace

bool TimeSpoolerCalls()
{
    const Route routes[] = {
        RouteOf<1>("EnumPrintersA", &EnumPrintersA),
        RouteOf<2>("OpenPrinterA", &OpenPrinterA),
        RouteOf<3>("GetPrinterDataA", &GetPrinterDataA),
        RouteOf<4>("GetPrinterA", &GetPrinterA),
        RouteOf<5>("ClosePrinter", &ClosePrinter),
        RouteOf<6>("GetPrinterDriverDirectoryA", &GetPrinterDriverDirectoryA),
        RouteOf<7>("GetPrintProcessorDirectoryA", &GetPrintProcessorDirectoryA),
        RouteOf<8>("DeleteMonitorA", &DeleteMonitorA),
        RouteOf<9>("DeletePrintProcessorA", &DeletePrintProcessorA),
        RouteOf<10>("DeletePrinter", &DeletePrinter),
        RouteOf<11>("DeletePrinterConnectionA", &DeletePrinterConnectionA),
        RouteOf<12>("DeletePrinterDriverA", &DeletePrinterDriverA),
        RouteOf<13>("EnumJobsA", &EnumJobsA),
        RouteOf<14>("EnumPrintProcessorsA", &EnumPrintProcessorsA),
        RouteOf<15>("EnumPrinterDriversA", &EnumPrinterDriversA),
        RouteOf<16>("GetPrinterDriverA", &GetPrinterDriverA),
        RouteOf<17>("SetJobA", &SetJobA),
        RouteOf<18>("SetPrinterA", &SetPrinterA),
    };
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const IMAGE_IMPORT_DESCRIPTOR* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), "VSPOOL08.dll") != 0)
            continue;
        const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        IMAGE_THUNK_DATA* entries = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++entries) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Route& route : routes) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), route.name) != 0)
                    continue;
                if (*route.original)
                    continue;  // routed before
                DWORD protection = 0;
                if (!VirtualProtect(&entries->u1.Function, sizeof(entries->u1.Function), PAGE_READWRITE,
                                    &protection))
                    return false;
                *route.original = reinterpret_cast<void*>(entries->u1.Function);
                entries->u1.Function = reinterpret_cast<DWORD_PTR>(route.wrapper);
                VirtualProtect(&entries->u1.Function, sizeof(entries->u1.Function), protection, &protection);
            }
        }
    }
    // The enumeration's calls (the first five) at least; the others when
    // this program makes them.
    for (int i = 0; i < 5; ++i) {
        if (!*routes[i].original)
            return false;
    }
    return true;
}

SpoolerCallTotals SpoolerCallTime() { return g_totals; }

void ResetSpoolerCallTime() { g_totals = SpoolerCallTotals(); }
