#include "SilentRun.h"

namespace {

bool g_silent = false;

}  // namespace

bool IsSilentRun() { return g_silent; }

void SetSilentRun(bool on) { g_silent = on; }
