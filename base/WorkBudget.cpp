#include "WorkBudget.h"

WorkBudget::WorkBudget(DWORD milliseconds)
    : precise(false), limit(milliseconds), start(0), pieceStart(0), unlimited(milliseconds == INFINITE)
{
    // The tick count may move in steps of 10 to 16 ms, a third of a budget.
    LARGE_INTEGER frequency = {};
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart >= 1000) {
        precise = true;
        limit = static_cast<LONGLONG>(milliseconds) * (frequency.QuadPart / 1000);
    }
    start = Now();
    pieceStart = start;
}

LONGLONG WorkBudget::Now() const
{
    LARGE_INTEGER counter = {};
    if (precise && QueryPerformanceCounter(&counter))
        return counter.QuadPart;
    return static_cast<LONGLONG>(GetTickCount());
}

bool WorkBudget::Spent() const { return !unlimited && Used() >= limit; }

bool WorkBudget::HalfSpent() const { return !unlimited && Used() >= limit / 2; }

bool WorkBudget::FitsAnother(const PieceHistory& history) const
{
    return unlimited || Used() + history.longest < limit;
}

void WorkBudget::PieceDone(PieceHistory& history)
{
    const LONGLONG now = Now();
    if (now - pieceStart > history.longest)
        history.longest = now - pieceStart;
    pieceStart = now;
}
