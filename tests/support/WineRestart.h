// Restarting Wine the way a Windows restart works for pending file
// operations: "wineboot -r" carries out MoveFileEx delays and WININIT.INI.
// It acts on the whole prefix: use it only from Serial* suites.
#pragma once

// True when wineboot ran and ended with exit code 0.
bool RestartWine();
