/* Stands in for the Spooler service: it runs like Wine's, but a stop takes
   two seconds of STOP_PENDING, as a busy spooler's does. */
#include <windows.h>

static SERVICE_STATUS_HANDLE statusHandle;
static SERVICE_STATUS status;
static HANDLE stopped;

static void Report(DWORD state)
{
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWaitHint = state == SERVICE_STOP_PENDING ? 3000 : 0;
    SetServiceStatus(statusHandle, &status);
}

static DWORD WINAPI StopSlowly(LPVOID unused)
{
    (void)unused;
    Sleep(2000);
    SetEvent(stopped);
    return 0;
}

static DWORD WINAPI Handler(DWORD control, DWORD type, LPVOID data, LPVOID context)
{
    (void)type;
    (void)data;
    (void)context;
    if (control == SERVICE_CONTROL_STOP && status.dwCurrentState == SERVICE_RUNNING) {
        Report(SERVICE_STOP_PENDING);
        CloseHandle(CreateThread(NULL, 0, StopSlowly, NULL, 0, NULL));
    }
    return NO_ERROR;
}

static void WINAPI ServiceMain(DWORD argc, LPSTR* argv)
{
    (void)argc;
    (void)argv;
    statusHandle = RegisterServiceCtrlHandlerExA("Spooler", Handler, NULL);
    if (!statusHandle)
        return;
    stopped = CreateEventA(NULL, TRUE, FALSE, NULL);
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopped, INFINITE);
    Report(SERVICE_STOPPED);
}

int main(void)
{
    SERVICE_TABLE_ENTRYA table[] = {{(LPSTR) "Spooler", ServiceMain}, {NULL, NULL}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
