// Where the simulator keeps its state and journal, and the reading and
// writing of both. Every spooler call reads the state afresh, so a test may
// rewrite the file between calls; a call that changes it writes it back.
#pragma once
#include <memory>
#include <string>

#include "SimState.h"

namespace spoolsim {

// SPOOLSIM_STATE, or "spoolsim.ini" beside the simulator DLL.
std::string StatePath();
// The state path with its extension replaced by ".journal".
std::string JournalPath();

// A missing file is an empty spooler. Null (error set) when the file
// cannot be read or is not understood. Calls that read the same text get
// the same snapshot; it never changes.
std::shared_ptr<const State> LoadState(std::string& error);
bool SaveState(const State& state);
void AppendJournal(const std::string& line);

}  // namespace spoolsim
