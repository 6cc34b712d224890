#include "PackedBuffer.h"

#include <cstring>

namespace spoolsim {

PackedBuffer::PackedBuffer(std::size_t fixedBytes) : buffer(nullptr), stringEnd(0), needed(fixedBytes) {}

PackedBuffer::PackedBuffer(unsigned char* buffer, std::size_t size, std::size_t fixedBytes)
    : buffer(buffer), stringEnd(size), needed(fixedBytes)
{
}

char* PackedBuffer::Text(const std::string& text)
{
    const std::size_t bytes = text.size() + 1;
    needed += bytes;
    if (!buffer)
        return nullptr;
    stringEnd -= bytes;
    std::memcpy(buffer + stringEnd, text.c_str(), bytes);
    return reinterpret_cast<char*>(buffer + stringEnd);
}

char* PackedBuffer::OptionalText(const std::string& text) { return text.empty() ? nullptr : Text(text); }

unsigned char* PackedBuffer::Record(std::size_t index, std::size_t recordSize) const
{
    return buffer ? buffer + index * recordSize : nullptr;
}

}  // namespace spoolsim
