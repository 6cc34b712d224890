// Steps 5 (hooks) and 7 (services) of the removal.
#include "HookRunner.h"
#include "RemovalSequence.h"
#include "ServiceRemover.h"
#include "UninstallDatabase.h"
#include "WindowUtil.h"

void RemovalSequence::removeServices()
{
    if (database && RemoveServices(osInfo, database->removalProfile.services))
        database->restartNeeded = 1;
}

void RemovalSequence::runUnregisterHooks()
{
    if (database)
        RunUnregisterHooks(database->removalProfile.hooks, ownerWindow,
                           ownerWindow ? GetWindowInstance(ownerWindow) : GetModuleHandleA(nullptr));
}
