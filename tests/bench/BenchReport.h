// Timing and reporting for the benchmark program: a stopwatch, medians of
// repeated runs, and one line per figure with its target.
#pragma once
#include <string>
#include <vector>

// Milliseconds from the performance counter.
class Stopwatch {
public:
    Stopwatch();
    void Restart();
    double ElapsedMs() const;

private:
    long long start;
};

double Median(std::vector<double> values);

// "name: 12.3 ms (runs 12.1 12.3 13.0), target <= 50 ms: ok"; the figure is
// the median of the runs. Returns whether the target holds.
bool ReportAtMost(const std::string& name, const std::vector<double>& runs, double target,
                  const std::string& unit = "ms");
bool ReportAtLeast(const std::string& name, const std::vector<double>& runs, double target,
                   const std::string& unit);
// A figure without a target.
void ReportValue(const std::string& name, const std::vector<double>& runs, const std::string& unit);
void ReportNote(const std::string& text);

// Figures that missed their targets so far in this process.
int MissedTargets();
