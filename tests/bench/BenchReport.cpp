#include "BenchReport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

int g_missed = 0;

long long Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

std::string Number(double value)
{
    char text[64];
    if (value >= 100 || value == static_cast<long long>(value))
        std::snprintf(text, sizeof(text), "%.0f", value);
    else
        std::snprintf(text, sizeof(text), "%.1f", value);
    return text;
}

std::string Runs(const std::vector<double>& runs)
{
    std::string text;
    for (double value : runs)
        text += (text.empty() ? "" : " ") + Number(value);
    return text;
}

void Print(const std::string& name, const std::vector<double>& runs, const std::string& unit,
           const std::string& target)
{
    const std::string runsText = runs.size() > 1 ? " (runs: " + Runs(runs) + ")" : "";
    std::printf("  %-58s %10s %-3s%s%s\n", name.c_str(), Number(Median(runs)).c_str(), unit.c_str(),
                target.c_str(), runsText.c_str());
    std::fflush(stdout);
}

}  // namespace

Stopwatch::Stopwatch() : start(Counter()) {}

void Stopwatch::Restart() { start = Counter(); }

double Stopwatch::ElapsedMs() const
{
    static const double frequency = CounterFrequency();
    return static_cast<double>(Counter() - start) * 1000.0 / frequency;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool ReportAtMost(const std::string& name, const std::vector<double>& runs, double target, const std::string& unit)
{
    const bool ok = Median(runs) <= target;
    if (!ok)
        ++g_missed;
    Print(name, runs, unit, "  target <= " + Number(target) + " " + unit + (ok ? ": ok" : ": OVER"));
    return ok;
}

bool ReportAtLeast(const std::string& name, const std::vector<double>& runs, double target, const std::string& unit)
{
    const bool ok = Median(runs) >= target;
    if (!ok)
        ++g_missed;
    Print(name, runs, unit, "  target >= " + Number(target) + " " + unit + (ok ? ": ok" : ": UNDER"));
    return ok;
}

void ReportValue(const std::string& name, const std::vector<double>& runs, const std::string& unit)
{
    Print(name, runs, unit, "");
}

void ReportNote(const std::string& text)
{
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
}

int MissedTargets() { return g_missed; }
