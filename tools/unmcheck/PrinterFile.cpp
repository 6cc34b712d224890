#include "PrinterFile.h"

#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(line);
    while (std::getline(stream, field, '|'))
        fields.push_back(field);
    return fields;
}

bool ParseFlag(const std::vector<std::string>& fields, std::size_t index, int fallback, int& flag)
{
    if (index >= fields.size() || fields[index].empty()) {
        flag = fallback;
        return true;
    }
    if (fields[index] != "0" && fields[index] != "1")
        return false;
    flag = fields[index] == "1" ? 1 : 0;
    return true;
}

std::string LineError(int lineNumber, const std::string& what)
{
    return "printers file line " + std::to_string(lineNumber) + ": " + what;
}

}  // namespace

bool ReadPrinterFile(const std::string& path, bool win32s, std::vector<InstalledPrinter>& printers,
                     std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot read printers file " + path;
        return false;
    }
    std::string text;
    char chunk[4096];
    std::size_t read;
    while ((read = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, read);
    std::fclose(file);

    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> fields = SplitFields(line);
        if (fields.size() < 2 || fields[0].empty() || fields[1].empty()) {
            error = LineError(lineNumber, "a printer needs a name and a driver name");
            return false;
        }
        for (std::size_t i = 0; i < fields.size() && i < 4; ++i) {
            if (!FitsField(fields[i].c_str())) {
                error = LineError(lineNumber, "text over 259 characters");
                return false;
            }
        }
        InstalledPrinter printer;
        printer.SetName(fields[0].c_str());
        printer.SetDriverName(fields[1].c_str());
        if (fields.size() > 2)
            printer.SetPelledName(fields[2].c_str());
        if (fields.size() > 3)
            printer.SetServerName(fields[3].c_str());
        if (!ParseFlag(fields, 4, 0, printer.isDefault) || !ParseFlag(fields, 5, 1, printer.isHalvaprint)) {
            error = LineError(lineNumber, "flags are 0 or 1");
            return false;
        }
        // The enumeration takes every printer for one of the package on Win32s.
        if (win32s)
            printer.isHalvaprint = 1;
        printer.foreign = !printer.isHalvaprint && printer.pelledName[0] == '\0';
        printers.push_back(printer);
    }
    return true;
}
