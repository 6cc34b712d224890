#include "SimState.h"

#include <cstdio>
#include <cstdlib>

namespace spoolsim {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool StartsWithName(const std::string& text, const char* prefix, std::string* rest)
{
    std::size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size() || Fold(text[i]) != Fold(prefix[i]))
            return false;
    }
    *rest = text.substr(i);
    return true;
}

bool ParseNumber(const std::string& text, unsigned long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && Fold(text[1]) == 'x';
    value = std::strtoul(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    return end && *end == '\0' && text[hex ? 2 : 0] != '-';
}

bool ParseFlag(const std::string& text, bool& value)
{
    unsigned long number = 0;
    if (!ParseNumber(text, number) || number > 1)
        return false;
    value = number == 1;
    return true;
}

// "id,status,user,document": the document is the rest, commas and all.
bool ParseJob(const std::string& text, Job& job)
{
    std::size_t commas[3];
    std::size_t from = 0;
    for (std::size_t& comma : commas) {
        comma = text.find(',', from);
        if (comma == std::string::npos)
            return false;
        from = comma + 1;
    }
    if (!ParseNumber(Trim(text.substr(0, commas[0])), job.id) || job.id == 0)
        return false;
    if (!ParseNumber(Trim(text.substr(commas[0] + 1, commas[1] - commas[0] - 1)), job.status))
        return false;
    job.user = Trim(text.substr(commas[1] + 1, commas[2] - commas[1] - 1));
    job.document = Trim(text.substr(commas[2] + 1));
    return true;
}

enum class Section { None, Spooler, Printer, Driver, Monitor, PrintProcessor };

bool SetPrinterKey(Printer& p, const std::string& key, const std::string& value)
{
    std::string valueName;
    if (StartsWithName(key, "Data.", &valueName)) {
        if (valueName.empty())
            return false;
        p.data.push_back({valueName, value});
        return true;
    }
    if (SameName(key, "Job")) {
        Job job;
        if (!ParseJob(value, job))
            return false;
        p.jobs.push_back(job);
        return true;
    }
    struct TextKey {
        const char* key;
        std::string Printer::*field;
    };
    static const TextKey texts[] = {
        {"Name", &Printer::name},         {"Server", &Printer::server},
        {"Share", &Printer::share},       {"Port", &Printer::port},
        {"Driver", &Printer::driver},     {"Comment", &Printer::comment},
        {"Location", &Printer::location}, {"PrintProcessor", &Printer::printProcessor},
        {"Datatype", &Printer::datatype},
    };
    for (const TextKey& t : texts) {
        if (SameName(key, t.key)) {
            p.*t.field = value;
            return true;
        }
    }
    struct NumberKey {
        const char* key;
        unsigned long Printer::*field;
    };
    static const NumberKey numbers[] = {
        {"Attributes", &Printer::attributes},
        {"Priority", &Printer::priority},
        {"Status", &Printer::status},
        {"OpenError", &Printer::openError},
        {"Level2Error", &Printer::level2Error},
        {"Level2SizeError", &Printer::level2SizeError},
        {"SetError", &Printer::setError},
        {"DeleteError", &Printer::deleteError},
    };
    for (const NumberKey& n : numbers) {
        if (SameName(key, n.key))
            return ParseNumber(value, p.*n.field);
    }
    if (SameName(key, "PendingDeletion"))
        return ParseFlag(value, p.pendingDeletion);
    return false;
}

bool SetDriverKey(Driver& d, const std::string& key, const std::string& value)
{
    if (SameName(key, "Name")) d.name = value;
    else if (SameName(key, "Environment")) d.environment = value;
    else if (SameName(key, "DriverPath")) d.driverPath = value;
    else if (SameName(key, "DataFile")) d.dataFile = value;
    else if (SameName(key, "ConfigFile")) d.configFile = value;
    else if (SameName(key, "HelpFile")) d.helpFile = value;
    else if (SameName(key, "DependentFiles")) d.dependentFiles = value;
    else if (SameName(key, "Version")) return ParseNumber(value, d.version);
    else if (SameName(key, "DeleteError")) return ParseNumber(value, d.deleteError);
    else return false;
    return true;
}

bool SetMonitorKey(Monitor& m, const std::string& key, const std::string& value)
{
    if (SameName(key, "Name")) m.name = value;
    else if (SameName(key, "Dll")) m.dll = value;
    else if (SameName(key, "DeleteError")) return ParseNumber(value, m.deleteError);
    else return false;
    return true;
}

bool SetProcessorKey(PrintProcessor& p, const std::string& key, const std::string& value)
{
    if (SameName(key, "Name")) p.name = value;
    else if (SameName(key, "Environment")) p.environment = value;
    else if (SameName(key, "Dll")) p.dll = value;
    else if (SameName(key, "DeleteError")) return ParseNumber(value, p.deleteError);
    else return false;
    return true;
}

bool SetSpoolerKey(State& s, const std::string& key, const std::string& value)
{
    if (SameName(key, "Environment")) s.environment = value;
    else if (SameName(key, "EnumPrintersError")) return ParseNumber(value, s.enumPrintersError);
    else if (SameName(key, "EnumPrintersDataError")) return ParseNumber(value, s.enumPrintersDataError);
    else return false;
    return true;
}

Section SectionNamed(const std::string& name)
{
    if (SameName(name, "Spooler")) return Section::Spooler;
    if (SameName(name, "Printer")) return Section::Printer;
    if (SameName(name, "Driver")) return Section::Driver;
    if (SameName(name, "Monitor")) return Section::Monitor;
    if (SameName(name, "PrintProcessor")) return Section::PrintProcessor;
    return Section::None;
}

const unsigned long kAttributesUnset = 0xFFFFFFFFul;

// Completes the section just read; the problem with it, or empty.
std::string FinishSection(State& s, Section section)
{
    switch (section) {
    case Section::Printer: {
        Printer& p = s.printers.back();
        if (p.name.empty())
            return "Printer section without Name";
        for (std::size_t i = 0; i + 1 < s.printers.size(); ++i) {
            if (SameName(s.printers[i].name, p.name.c_str()))
                return "second printer named " + p.name;
        }
        if (p.attributes == kAttributesUnset)
            p.attributes = p.IsConnection() ? 0x10ul : 0x40ul;  // NETWORK or LOCAL
        return "";
    }
    case Section::Driver: return s.drivers.back().name.empty() ? "Driver section without Name" : "";
    case Section::Monitor: return s.monitors.back().name.empty() ? "Monitor section without Name" : "";
    case Section::PrintProcessor:
        return s.processors.back().name.empty() ? "PrintProcessor section without Name" : "";
    default: return "";
    }
}

std::string LineError(std::size_t line, const std::string& what)
{
    char number[32];
    std::snprintf(number, sizeof(number), "line %lu: ", static_cast<unsigned long>(line));
    return number + what;
}

std::string Hex(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", value);
    return text;
}

void Put(std::string& out, const char* key, const std::string& value)
{
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
}

void PutIfSet(std::string& out, const char* key, const std::string& value)
{
    if (!value.empty())
        Put(out, key, value);
}

void PutIfSet(std::string& out, const char* key, unsigned long value)
{
    if (value != 0)
        Put(out, key, std::to_string(value));
}

}  // namespace

bool SameName(const std::string& a, const char* b)
{
    if (!b)
        return false;
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

const PrinterValue* Printer::FindValue(const char* valueName) const
{
    for (const PrinterValue& v : data) {
        if (SameName(v.name, valueName))
            return &v;
    }
    return nullptr;
}

Printer* State::FindPrinter(const char* name)
{
    return const_cast<Printer*>(static_cast<const State*>(this)->FindPrinter(name));
}

const Printer* State::FindPrinter(const char* name) const
{
    for (const Printer& p : printers) {
        if (SameName(p.name, name))
            return &p;
    }
    return nullptr;
}

void State::DropIfDeleted(const std::string& name)
{
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const Printer& p = printers[i];
        if (SameName(p.name, name.c_str()) && p.pendingDeletion && p.jobs.empty()) {
            printers.erase(printers.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

bool ParseState(const std::string& text, State& state, std::string& error)
{
    state = State();
    Section section = Section::None;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                error = LineError(lineNumber, "unclosed section header");
                return false;
            }
            const std::string problem = FinishSection(state, section);
            if (!problem.empty()) {
                error = LineError(lineNumber, problem + " (before this line)");
                return false;
            }
            section = SectionNamed(Trim(line.substr(1, line.size() - 2)));
            switch (section) {
            case Section::None: error = LineError(lineNumber, "unknown section " + line); return false;
            case Section::Printer:
                state.printers.emplace_back();
                state.printers.back().attributes = kAttributesUnset;
                break;
            case Section::Driver: state.drivers.emplace_back(); break;
            case Section::Monitor: state.monitors.emplace_back(); break;
            case Section::PrintProcessor: state.processors.emplace_back(); break;
            case Section::Spooler: break;
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            error = LineError(lineNumber, "expected key=value");
            return false;
        }
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        bool known = false;
        switch (section) {
        case Section::None: break;
        case Section::Spooler: known = SetSpoolerKey(state, key, value); break;
        case Section::Printer: known = SetPrinterKey(state.printers.back(), key, value); break;
        case Section::Driver: known = SetDriverKey(state.drivers.back(), key, value); break;
        case Section::Monitor: known = SetMonitorKey(state.monitors.back(), key, value); break;
        case Section::PrintProcessor: known = SetProcessorKey(state.processors.back(), key, value); break;
        }
        if (!known) {
            error = LineError(lineNumber, "key or value not understood: " + line);
            return false;
        }
    }
    const std::string problem = FinishSection(state, section);
    if (!problem.empty()) {
        error = problem + " (at the end)";
        return false;
    }
    return true;
}

std::string FormatState(const State& state)
{
    std::string out = "[Spooler]\r\n";
    PutIfSet(out, "Environment", state.environment);
    PutIfSet(out, "EnumPrintersError", state.enumPrintersError);
    PutIfSet(out, "EnumPrintersDataError", state.enumPrintersDataError);
    for (const Printer& p : state.printers) {
        out += "\r\n[Printer]\r\n";
        Put(out, "Name", p.name);
        PutIfSet(out, "Server", p.server);
        PutIfSet(out, "Share", p.share);
        PutIfSet(out, "Port", p.port);
        PutIfSet(out, "Driver", p.driver);
        PutIfSet(out, "Comment", p.comment);
        PutIfSet(out, "Location", p.location);
        Put(out, "PrintProcessor", p.printProcessor);
        Put(out, "Datatype", p.datatype);
        Put(out, "Attributes", Hex(p.attributes));
        Put(out, "Priority", std::to_string(p.priority));
        PutIfSet(out, "Status", p.status);
        PutIfSet(out, "PendingDeletion", p.pendingDeletion ? 1ul : 0ul);
        for (const PrinterValue& v : p.data)
            Put(out, ("Data." + v.name).c_str(), v.text);
        for (const Job& j : p.jobs)
            Put(out, "Job", std::to_string(j.id) + "," + std::to_string(j.status) + "," + j.user + "," + j.document);
        PutIfSet(out, "OpenError", p.openError);
        PutIfSet(out, "Level2Error", p.level2Error);
        PutIfSet(out, "Level2SizeError", p.level2SizeError);
        PutIfSet(out, "SetError", p.setError);
        PutIfSet(out, "DeleteError", p.deleteError);
    }
    for (const Driver& d : state.drivers) {
        out += "\r\n[Driver]\r\n";
        Put(out, "Name", d.name);
        PutIfSet(out, "Environment", d.environment);
        Put(out, "Version", std::to_string(d.version));
        PutIfSet(out, "DriverPath", d.driverPath);
        PutIfSet(out, "DataFile", d.dataFile);
        PutIfSet(out, "ConfigFile", d.configFile);
        PutIfSet(out, "HelpFile", d.helpFile);
        PutIfSet(out, "DependentFiles", d.dependentFiles);
        PutIfSet(out, "DeleteError", d.deleteError);
    }
    for (const Monitor& m : state.monitors) {
        out += "\r\n[Monitor]\r\n";
        Put(out, "Name", m.name);
        PutIfSet(out, "Dll", m.dll);
        PutIfSet(out, "DeleteError", m.deleteError);
    }
    for (const PrintProcessor& p : state.processors) {
        out += "\r\n[PrintProcessor]\r\n";
        Put(out, "Name", p.name);
        PutIfSet(out, "Environment", p.environment);
        PutIfSet(out, "Dll", p.dll);
        PutIfSet(out, "DeleteError", p.deleteError);
    }
    return out;
}

}  // namespace spoolsim
