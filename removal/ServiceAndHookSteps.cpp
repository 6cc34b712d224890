// Steps 5 (hooks) and 7 (services) of the removal page.
#include "HookRunner.h"
#include "RemovePage.h"
#include "ServiceRemover.h"
#include "UninstallDatabase.h"
#include "WindowUtil.h"

void RemovePage::removeServices()
{
    if (database && RemoveServices(osInfo, database->removalProfile.services))
        database->restartNeeded = 1;
}

void RemovePage::runUnregisterHooks()
{
    if (database)
        RunUnregisterHooks(database->removalProfile.hooks, hwnd, GetWindowInstance(hwnd));
}
