#include "RegistryLine.h"

#include <cstring>

#include "TextUtil.h"

namespace {

std::string WithoutQuotes(const char* begin, const char* end)
{
    std::string field;
    for (const char* p = begin; p < end; ++p) {
        if (*p != '"')
            field += *p;
    }
    return field;
}

}  // namespace

RegistryRootId RegistryRootFromName(const char* name)
{
    if (TextEquals(name, "HKLM"))
        return ROOT_HKLM;
    if (TextEquals(name, "HKCR"))
        return ROOT_HKCR;
    if (TextEquals(name, "HKCU"))
        return ROOT_HKCU;
    if (TextEquals(name, "HKU"))
        return ROOT_HKU;
    return ROOT_UNKNOWN;
}

RegistryLineStatus ParseRegistryLine(const char* text, RegistryLine& line)
{
    line = RegistryLine();
    if (!text)
        return REGLINE_TOO_FEW_FIELDS;
    const char* fieldStart[4] = {text, nullptr, nullptr, nullptr};
    int commas = 0;
    for (const char* p = text; *p && commas < 3; ++p) {
        if (*p == ',')
            fieldStart[++commas] = p + 1;
    }
    if (commas < 2)
        return REGLINE_TOO_FEW_FIELDS;
    const char* end = text + std::strlen(text);
    line.rootName = WithoutQuotes(fieldStart[0], fieldStart[1] - 1);
    line.key = WithoutQuotes(fieldStart[1], fieldStart[2] - 1);
    line.value = WithoutQuotes(fieldStart[2], commas == 3 ? fieldStart[3] - 1 : end);
    line.hasFlag = commas == 3;
    if (line.hasFlag)
        line.flag = WithoutQuotes(fieldStart[3], end);
    line.root = RegistryRootFromName(line.rootName.c_str());
    if (line.root == ROOT_UNKNOWN)
        return REGLINE_UNKNOWN_ROOT;
    if (line.key.empty())
        return REGLINE_EMPTY_KEY;
    return REGLINE_OK;
}

const char* RegistryLineProblem(RegistryLineStatus status)
{
    switch (status) {
    case REGLINE_OK: return "";
    case REGLINE_TOO_FEW_FIELDS: return "too few fields (root, key and value needed)";
    case REGLINE_UNKNOWN_ROOT: return "unknown root (HKLM, HKCR, HKCU or HKU)";
    case REGLINE_EMPTY_KEY: return "empty key path";
    }
    return "";
}

std::string FormatRegistryLine(const char* rootName, const char* keyPath, const char* valueName,
                               bool flag)
{
    if (RegistryRootFromName(rootName) == ROOT_UNKNOWN || IsEmptyText(keyPath))
        return std::string();
    std::string line(rootName);
    line += ",\"";
    line += keyPath;
    line += "\",\"";
    line += valueName ? valueName : "";
    line += "\",";
    line += flag ? "1" : "0";
    return line;
}
