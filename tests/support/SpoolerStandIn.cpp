#include "SpoolerStandIn.h"

SERVICE_STATUS SpoolerStatus()
{
    SERVICE_STATUS status = {};
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "Spooler", SERVICE_QUERY_STATUS) : nullptr;
    if (service)
        QueryServiceStatus(service, &status);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return status;
}

bool WaitForSpooler(DWORD state)
{
    for (int i = 0; i < 250; ++i) {
        if (SpoolerStatus().dwCurrentState == state)
            return true;
        Sleep(20);
    }
    return false;
}

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
    SC_HANDLE service = manager ? OpenServiceA(manager, "Spooler", SERVICE_CHANGE_CONFIG) : nullptr;
    const bool changed = service && ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                                         SERVICE_NO_CHANGE, commandLine, nullptr, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr);
    if (service)
        CloseServiceHandle(service);
    if (manager)
        CloseServiceHandle(manager);
    return changed;
}

void StartSpoolerService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "Spooler", SERVICE_START) : nullptr;
    if (service) {
        StartServiceA(service, 0, nullptr);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
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

void StopSpoolerService()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, "Spooler", SERVICE_STOP) : nullptr;
    SERVICE_STATUS status = {};
    if (service) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
}

// Up to 10 s: the stand-in takes two to stop.
bool StopAndWait()
{
    StopSpoolerService();
    for (int i = 0; i < 500; ++i) {
        if (SpoolerStatus().dwCurrentState == SERVICE_STOPPED)
            return true;
        Sleep(20);
    }
    return false;
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
