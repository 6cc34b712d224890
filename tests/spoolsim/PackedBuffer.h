// The spooler's way of filling a caller's buffer: fixed-size records from
// the start, their strings packed downwards from the end. The same code
// measures (no buffer) and writes, so the size reported by the first call
// of the two-call pattern is exactly what the second call uses.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

namespace spoolsim {

class PackedBuffer {
public:
    // Measuring: the strings are only counted.
    explicit PackedBuffer(std::size_t fixedBytes);
    // Writing into a buffer already known to be large enough.
    PackedBuffer(unsigned char* buffer, std::size_t size, std::size_t fixedBytes);

    // A copy of the text inside the buffer (nullptr while measuring).
    char* Text(const std::string& text);
    // As Text, but an empty text gives nullptr.
    char* OptionalText(const std::string& text);
    // The record at index, or nullptr while measuring.
    unsigned char* Record(std::size_t index, std::size_t recordSize) const;

    std::size_t Needed() const { return needed; }

private:
    unsigned char* buffer;
    std::size_t stringEnd;
    std::size_t needed;
};

// Copies a filled-in record to its place; nothing while measuring.
template <typename Record> void Store(unsigned char* target, const Record& record)
{
    if (target)
        std::memcpy(target, &record, sizeof(record));
}

// The two-call pattern for count records of recordSize bytes:
// write(packer, index, record) fills record index (record is nullptr while
// measuring). *needed gets the size of all; a smaller buffer gives
// ERROR_INSUFFICIENT_BUFFER, a large enough one lateError when that is set
// (nothing written), else the records are written: ERROR_SUCCESS.
template <typename Write>
DWORD PackRecords(unsigned char* buffer, DWORD size, DWORD* needed, std::size_t count, std::size_t recordSize,
                  Write write, DWORD lateError = ERROR_SUCCESS)
{
    PackedBuffer measure(count * recordSize);
    for (std::size_t i = 0; i < count; ++i)
        write(measure, i, nullptr);
    *needed = static_cast<DWORD>(measure.Needed());
    if (size < measure.Needed())
        return ERROR_INSUFFICIENT_BUFFER;
    if (lateError != ERROR_SUCCESS)
        return lateError;
    PackedBuffer out(buffer, size, count * recordSize);
    for (std::size_t i = 0; i < count; ++i)
        write(out, i, out.Record(i, recordSize));
    return ERROR_SUCCESS;
}

}  // namespace spoolsim
