// A dialog of the program with the work of each tick of its timer timed:
// the step the tick found, its milliseconds and the part of them spent in
// spooler calls.
#pragma once
#include <windows.h>

#include <vector>

#include "BenchReport.h"
#include "SpoolerCallTimer.h"

struct Tick {
    int step;
    double ms;
    double spoolerMs;
};

template <class Dialog, UINT_PTR TimerId, int (*StepOf)(const Dialog&)>
class TimedTicks : public Dialog {
public:
    INT_PTR OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER || wParam != TimerId)
            return Dialog::OnMessage(window, message, wParam, lParam);
        const int step = StepOf(*this);
        const double spoolerBefore = SpoolerCallTime().ms;
        Stopwatch watch;
        const INT_PTR result = Dialog::OnMessage(window, message, wParam, lParam);
        ticks.push_back(Tick{step, watch.ElapsedMs(), SpoolerCallTime().ms - spoolerBefore});
        return result;
    }
    std::vector<Tick> ticks;
};
