// The spooler's way of filling a caller's buffer: fixed-size records from
// the start, their strings packed downwards from the end. The same code
// measures (no buffer) and writes, so the size reported by the first call
// of the two-call pattern is exactly what the second call uses.
#pragma once
#include <cstddef>
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

}  // namespace spoolsim
