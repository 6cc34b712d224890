// Windows' own directories on this system, for the OEM path rule.
#pragma once
#include "OemPath.h"

ProtectedDirectories ProtectedDirectoriesOfSystem();
