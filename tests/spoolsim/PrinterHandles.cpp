#include "PrinterHandles.h"

#include <vector>

namespace spoolsim {

namespace {

struct Slot {
    bool open = false;
    OpenedPrinter printer;
};

// Handle values are never reused within a process, so a stale handle
// cannot reach a printer opened later.
std::vector<Slot>& Slots()
{
    static std::vector<Slot> slots;
    return slots;
}

const UINT_PTR kHandleBase = 0x53500000;

}  // namespace

HANDLE AddPrinterHandle(const OpenedPrinter& opened)
{
    Slot slot;
    slot.open = true;
    slot.printer = opened;
    Slots().push_back(slot);
    return reinterpret_cast<HANDLE>(kHandleBase + Slots().size() * 4);
}

OpenedPrinter* FindPrinterHandle(HANDLE handle)
{
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(handle);
    if (value <= kHandleBase || (value - kHandleBase) % 4 != 0)
        return nullptr;
    const std::size_t index = (value - kHandleBase) / 4 - 1;
    if (index >= Slots().size() || !Slots()[index].open)
        return nullptr;
    return &Slots()[index].printer;
}

bool ClosePrinterHandle(HANDLE handle)
{
    OpenedPrinter* opened = FindPrinterHandle(handle);
    if (!opened)
        return false;
    const std::size_t index = (reinterpret_cast<UINT_PTR>(handle) - kHandleBase) / 4 - 1;
    Slots()[index].open = false;
    return true;
}

}  // namespace spoolsim
