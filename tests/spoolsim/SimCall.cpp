#include "SimCall.h"

#include <cstring>

#include "PrinterHandles.h"
#include "StateStore.h"

namespace spoolsim {

namespace {

struct KnownEnvironment {
    const char* name;
    const char* directory;
};

const KnownEnvironment kEnvironments[] = {
    {"Windows NT x86", "w32x86"},
    {"Windows 4.0", "win40"},
    {"Windows x64", "x64"},
    {"Windows IA64", "ia64"},
};

}  // namespace

Session::Session() : snapshot(), current(), copied(false)
{
    std::string error;
    snapshot = LoadState(error);
    if (!snapshot)
        AppendJournal("state not understood: " + error);
}

State& Session::state()
{
    if (!copied) {
        current = *snapshot;
        copied = true;
    }
    return current;
}

void Session::Save() { SaveState(state()); }

CallOutcome::CallOutcome() : saved(GetLastError()), error(0), failed(false) {}

CallOutcome::~CallOutcome() { SetLastError(failed ? error : saved); }

BOOL CallOutcome::Fail(DWORD failure)
{
    failed = true;
    error = failure;
    return FALSE;
}

JournalEntry::JournalEntry(const char* function) : line(function) {}

JournalEntry& JournalEntry::Arg(const char* text)
{
    line += '|';
    line += text ? text : "(null)";
    return *this;
}

JournalEntry& JournalEntry::Arg(const std::string& text) { return Arg(text.c_str()); }

JournalEntry& JournalEntry::Arg(unsigned long number) { return Arg(std::to_string(number)); }

BOOL JournalEntry::Succeed()
{
    AppendJournal(line + "|ok");
    return TRUE;
}

BOOL JournalEntry::Fail(DWORD error)
{
    AppendJournal(line + "|error " + std::to_string(error));
    return outcome.Fail(error);
}

const Printer* PrinterToRead(CallOutcome& call, Session& session, HANDLE handle, std::size_t recordSize,
                             const void* buffer, DWORD size)
{
    const OpenedPrinter* opened = FindPrinterHandle(handle);
    DWORD error = ERROR_SUCCESS;
    const Printer* printer = nullptr;
    if (!opened || opened->printerName.empty())
        error = ERROR_INVALID_HANDLE;
    else if (recordSize == 0)
        error = ERROR_INVALID_LEVEL;
    else if (!buffer && size)
        error = ERROR_INVALID_USER_BUFFER;
    else if (!session.Loaded())
        error = ERROR_INVALID_DATA;
    else if (!(printer = session.view().FindPrinter(opened->printerName.c_str())))
        error = ERROR_INVALID_PRINTER_NAME;
    if (error != ERROR_SUCCESS)
        call.Fail(error);
    return printer;
}

bool RunningOnWin9x()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

std::string LocalEnvironment(const State& state)
{
    if (!state.environment.empty())
        return state.environment;
    // No 64-bit program runs on the 9x family.
    return RunningOnWin9x() && sizeof(void*) == 4 ? "Windows 4.0" : kNativeEnvironment;
}

bool ResolveEnvironment(const State& state, const char* requested, std::string& environment)
{
    if (!requested || !*requested) {
        environment = LocalEnvironment(state);
        return true;
    }
    for (const KnownEnvironment& known : kEnvironments) {
        if (SameName(known.name, requested)) {
            environment = known.name;
            return true;
        }
    }
    return false;
}

bool InEnvironment(const State& state, const std::string& itemEnvironment, const std::string& environment)
{
    const std::string own = itemEnvironment.empty() ? LocalEnvironment(state) : itemEnvironment;
    return SameName(own, environment.c_str());
}

const char* EnvironmentDirectory(const std::string& environment)
{
    for (const KnownEnvironment& known : kEnvironments) {
        if (SameName(known.name, environment.c_str()))
            return known.directory;
    }
    return nullptr;
}

BOOL SpoolDirectory(const char* kind, LPSTR pEnvironment, DWORD Level, LPBYTE pBuffer, DWORD cbBuf,
                    LPDWORD pcbNeeded)
{
    CallOutcome call;
    if (!pcbNeeded)
        return call.Fail(RPC_X_NULL_REF_POINTER);
    if (Level != 1)
        return call.Fail(ERROR_INVALID_LEVEL);
    Session session;
    if (!session.Loaded())
        return call.Fail(ERROR_INVALID_DATA);
    std::string environment;
    if (!ResolveEnvironment(session.view(), pEnvironment, environment))
        return call.Fail(ERROR_INVALID_ENVIRONMENT);
    const char* directory = EnvironmentDirectory(environment);
    if (!directory)
        return call.Fail(ERROR_INVALID_ENVIRONMENT);
    char system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return call.Fail(ERROR_PATH_NOT_FOUND);
    const std::string path = std::string(system) + "\\spool\\" + kind + "\\" + directory;
    *pcbNeeded = static_cast<DWORD>(path.size() + 1);
    if (!pBuffer || cbBuf < path.size() + 1)
        return call.Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(pBuffer, path.c_str(), path.size() + 1);
    return TRUE;
}

DWORD EnumArgumentError(bool levelKnown, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)
{
    if (!needed || !returned)
        return RPC_X_NULL_REF_POINTER;
    *needed = 0;
    *returned = 0;
    if (!levelKnown)
        return ERROR_INVALID_LEVEL;
    return !buffer && size ? ERROR_INVALID_USER_BUFFER : 0;
}

}  // namespace spoolsim
