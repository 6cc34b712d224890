// Clears every trace of generated installations before and after a test,
// and puts back what the removal changes in the prefix outside the package:
// the Spooler service's state and directories the tests had to create.
#pragma once
#include <string>
#include <vector>

#include "Layout.h"

namespace containment {

class PrefixGuard {
public:
    PrefixGuard();
    ~PrefixGuard();
    PrefixGuard(const PrefixGuard&) = delete;
    PrefixGuard& operator=(const PrefixGuard&) = delete;

    const Layout& GetLayout() const { return layout; }
    // Sweeps what an installation left.
    void Sweep() const;

private:
    Layout layout;
    bool spoolerWasRunning;
    std::vector<std::string> missingDirectories;
    std::string pendingRenames;
    std::string defaultDevice;  // WIN.INI [windows] device
};

}  // namespace containment
