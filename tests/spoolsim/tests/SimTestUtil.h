// Helpers of the simulator's tests: the two-call pattern and buffer checks.
#pragma once
#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

const DWORD kMarker = 0xDEADBEEF;
const BYTE kCanary = 0xCD;

// A buffer of the reported size followed by canary bytes.
struct CallerBuffer {
    explicit CallerBuffer(DWORD size) : bytes(size + 16, kCanary), size(size) {}
    BYTE* data() { return bytes.data(); }
    bool CanaryIntact() const
    {
        for (std::size_t i = size; i < bytes.size(); ++i) {
            if (bytes[i] != kCanary)
                return false;
        }
        return true;
    }
    // True for a pointer to a terminated string inside the buffer, past the records.
    bool HoldsString(const char* text, std::size_t recordBytes) const
    {
        const BYTE* p = reinterpret_cast<const BYTE*>(text);
        if (!p || p < bytes.data() + recordBytes || p >= bytes.data() + size)
            return false;
        for (; p < bytes.data() + size; ++p) {
            if (*p == 0)
                return true;
        }
        return false;
    }
    std::vector<BYTE> bytes;
    DWORD size;
};

struct TwoCalls {
    BOOL sizeResult = FALSE;
    DWORD sizeError = 0;
    DWORD needed = 0;
    BOOL result = FALSE;
    DWORD error = 0;
    DWORD returned = 0;
    CallerBuffer buffer{0};
};

inline TwoCalls EnumeratePrinters(DWORD flags, DWORD level)
{
    TwoCalls calls;
    DWORD returned = kMarker;
    SetLastError(kMarker);
    calls.sizeResult = EnumPrintersA(flags, nullptr, level, nullptr, 0, &calls.needed, &returned);
    calls.sizeError = GetLastError();
    calls.buffer = CallerBuffer(calls.needed);
    SetLastError(kMarker);
    calls.result = EnumPrintersA(flags, nullptr, level, calls.buffer.data(), calls.needed, &calls.needed,
                                 &calls.returned);
    calls.error = GetLastError();
    return calls;
}

template <typename Record> const Record& RecordAt(TwoCalls& calls, std::size_t index)
{
    return reinterpret_cast<const Record*>(calls.buffer.data())[index];
}

inline HANDLE OpenForTest(const char* name, DWORD access = PRINTER_ALL_ACCESS)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, access};
    HANDLE printer = nullptr;
    return OpenPrinterA(const_cast<char*>(name), &printer, &defaults) ? printer : nullptr;
}

inline std::string Text(const char* text) { return text ? text : "(null)"; }
