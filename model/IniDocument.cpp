#include "IniDocument.h"

#include <windows.h>

#include <cstring>

#include "UniqueHandle.h"

namespace {

bool ReadAll(HANDLE file, std::vector<char>& bytes)
{
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > IniDocument::kMaxFileSize)
        return false;
    bytes.resize(size);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), size, &read, nullptr) || read == 0)
        return false;
    bytes.resize(read);
    return true;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size)
{
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

HANDLE OpenForEdit(const char* path)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

namespace {

const char* SectionName(const void* sections, std::size_t position)
{
    return (*static_cast<const std::vector<IniSection>*>(sections))[position].name.c_str();
}

}  // namespace

IniDocument::IniDocument() : path{}, byName(SectionName), modified(false) {}

IniDocument::~IniDocument()
{
    if (modified)
        Save(path);
}

bool IniDocument::ExceedsSizeLimit(const char* filePath)
{
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(filePath, &found));
    if (!search.Valid())
        return false;
    return found.nFileSizeHigh != 0 || found.nFileSizeLow > kMaxFileSize;
}

bool IniDocument::Load(const char* filePath)
{
    if (!sections.empty() || !FitsField(filePath))
        return false;
    CopyText(path, filePath);
    FileHandle file(CreateFileA(filePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid())
        return false;
    std::vector<char> bytes;
    if (!ReadAll(file.Get(), bytes))
        return false;
    // The parser treats the end of the data as the end of the last line.
    sections = ParseIniText(bytes.data(), bytes.size(), &refused);
    for (std::size_t i = 0; i < sections.size(); ++i)
        byName.Insert(&sections, sections[i].name.c_str(), i);
    modified = false;
    return true;
}

bool IniDocument::Save(const char* filePath)
{
    if (!FitsField(filePath))
        return false;
    FileHandle file(CreateFileA(filePath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    std::size_t entryLines = 0;
    const std::string text = FormatIniText(sections, &entryLines);
    const bool written = WriteAll(file.Get(), text.data(), text.size());
    CopyText(path, filePath);
    modified = false;
    return written && entryLines > 0;
}

const IniSection* IniDocument::FindSection(const char* name) const
{
    if (IsEmptyText(name))
        return nullptr;
    const std::size_t found = byName.Find(&sections, name);
    return found == TextPositions::npos ? nullptr : &sections[found];
}

const IniEntry* IniDocument::FindEntry(const IniSection* section, const char* key) const
{
    if (!section || IsEmptyText(key))
        return nullptr;
    for (const IniEntry& entry : section->entries) {
        if (TextEquals(entry.key.c_str(), key))
            return &entry;
    }
    return nullptr;
}

int IniDocument::CountEntries(const char* sectionName) const
{
    const IniSection* section = FindSection(sectionName);
    return section ? static_cast<int>(section->entries.size()) : 0;
}

int IniDocument::GetEntryKeys(const char* sectionName, char* buffer, int size) const
{
    return FillList(sectionName, buffer, size, false);
}

int IniDocument::GetEntryLines(const char* sectionName, char* buffer, int size) const
{
    return FillList(sectionName, buffer, size, true);
}

int IniDocument::FillList(const char* sectionName, char* buffer, int size, bool withValues) const
{
    const IniSection* section = FindSection(sectionName);
    if (!buffer || size <= 0 || !section || section->entries.empty())
        return 0;
    long long total = 0;
    bool complete = true;
    char* out = buffer;
    for (const IniEntry& entry : section->entries) {
        std::string item = entry.key;
        if (withValues && !entry.value.empty())
            item += "=" + entry.value;
        total += static_cast<long long>(item.size()) + 1;
        if (complete && total < size) {
            std::memcpy(out, item.c_str(), item.size() + 1);
            out += item.size() + 1;
        } else {
            complete = false;
        }
    }
    *out = '\0';
    const int result = total > 0x7fffffff ? 0x7fffffff : static_cast<int>(total);
    return complete ? result : -result;
}

int IniDocument::GetInt(const char* sectionName, const char* key, int defaultValue) const
{
    const IniEntry* entry = FindEntry(FindSection(sectionName), key);
    if (!entry || entry->value.empty())
        return defaultValue;
    return static_cast<int>(ParseDecimal(entry->value.c_str()));
}

unsigned long FindEntryInSection(const char* path, const char* sectionName, const char* text)
{
    if (IsEmptyText(path))
        return 0;
    FileHandle file(OpenForEdit(path));
    if (!file.Valid())
        return 0;
    std::vector<char> bytes;
    if (!ReadAll(file.Get(), bytes))
        return 0;
    return static_cast<unsigned long>(
        FindTextInSectionBytes(bytes.data(), bytes.size(), sectionName, text));
}

bool RemoveEntryLine(const char* path, const char* sectionName, const char* text)
{
    if (IsEmptyText(path))
        return false;
    FileHandle file(OpenForEdit(path));
    if (!file.Valid())
        return false;
    std::vector<char> bytes;
    if (!ReadAll(file.Get(), bytes))
        return false;
    std::size_t start = 0;
    std::size_t length = 0;
    if (!FindKeyLineInSectionBytes(bytes.data(), bytes.size(), sectionName, text, &start, &length))
        return false;
    // Only the bytes from the removed line on move, so write from there.
    const std::size_t tail = start + length;
    if (SetFilePointer(file.Get(), static_cast<LONG>(start), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER)
        return false;
    if (!WriteAll(file.Get(), bytes.data() + tail, bytes.size() - tail))
        return false;
    return SetEndOfFile(file.Get()) != FALSE;
}
