// Marks the package's Windows services for deletion (NT family only).
#pragma once
#include <string>
#include <vector>

#include "OSInfo.h"

// True when at least one service was marked for deletion (now or by an
// earlier run): a restart is then needed to finish the removal.
bool RemoveServices(const COSInfo& os, const std::vector<std::string>& services);
