#include "SpoolerStandIn.h"

namespace {

const char kSpooler[] = "Spooler";

}  // namespace

SERVICE_STATUS_PROCESS SpoolerStatus() { return ServiceStatus(kSpooler); }

DWORD SpoolerProcessId()
{
    const SERVICE_STATUS_PROCESS status = SpoolerStatus();
    return status.dwCurrentState == SERVICE_RUNNING ? status.dwProcessId : 0;
}

bool WaitForSpooler(DWORD state, DWORD timeoutMs) { return WaitForServiceState(kSpooler, state, timeoutMs); }

void StartSpoolerService() { StartNamedService(kSpooler); }

void StopSpoolerService() { StopNamedService(kSpooler); }

SpoolerProgram::SpoolerProgram()
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    original = std::string(system) + "\\spoolsv.exe";
    Set(original.c_str());
}

SpoolerProgram::~SpoolerProgram() { Restore(); }

void SpoolerProgram::Restore() const { Set(original.c_str()); }

bool SpoolerProgram::Set(const char* commandLine) const
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, kSpooler, SERVICE_CHANGE_CONFIG) : nullptr;
    const bool changed = service && ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                                         SERVICE_NO_CHANGE, commandLine, nullptr, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return changed;
}

FailingSpoolerStart::FailingSpoolerStart() : changed(false), program()
{
    changed = program.Set("C:\\windows\\system32\\cmd.exe /c exit 3");
}

FailingSpoolerStart::~FailingSpoolerStart()
{
    program.Restore();
    StartSpoolerService();
}

namespace {

// Up to 10 s: the stand-in takes two to stop.
bool StopAndWait()
{
    StopSpoolerService();
    return WaitForSpooler(SERVICE_STOPPED, 10000);
}

}  // namespace

SlowStoppingSpooler::SlowStoppingSpooler(const std::string& standInPath) : running(false), program()
{
    if (!StopAndWait() || !program.Set(standInPath.c_str()))
        return;
    StartSpoolerService();
    running = WaitForSpooler(SERVICE_RUNNING);
}

SlowStoppingSpooler::~SlowStoppingSpooler()
{
    StopAndWait();
    program.Restore();
    StartSpoolerService();
    WaitForSpooler(SERVICE_RUNNING);
}
