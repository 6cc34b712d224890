// How long one timer tick may work before the window gets its turn again.
#pragma once
#include <windows.h>

// What a tick of a step that spreads over several may work: well inside
// the shortest tick, so that the window answers between two.
const DWORD kTickWorkMs = 40;

// The longest piece of one kind of work met so far, kept across ticks.
struct PieceHistory {
    LONGLONG longest = 0;  // in the budget's counts
};

class WorkBudget {
public:
    // INFINITE: no limit (the work runs to its end).
    explicit WorkBudget(DWORD milliseconds);

    bool Spent() const;
    // Whether less than half of it is left (never with no limit).
    bool HalfSpent() const;
    // Whether another piece as long as the longest in the history would
    // still end inside the budget.
    bool FitsAnother(const PieceHistory& history) const;
    // Ends the piece of work that began at the budget's start or at the
    // previous call, and notes its length in the history.
    void PieceDone(PieceHistory& history);

private:
    LONGLONG Now() const;
    LONGLONG Used() const { return Now() - start; }

    bool precise;  // the performance counter, else the tick count
    LONGLONG limit;
    LONGLONG start;
    LONGLONG pieceStart;
    bool unlimited;
};
