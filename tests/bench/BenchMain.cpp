// trelun_bench: timings of the uninstaller's heaviest work, each figure the
// median of several runs next to its target. tools/bench.sh runs it.
//   trelun_bench loading|enumeration|files|steps [runs]
//   trelun_bench program <runs> <installer command> <trelun08.exe> <log> [arguments...]
// Exit status: 0 every figure met its target, 3 some did not, 1 the work
// could not be set up or did not do what it should, 2 bad arguments.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchFigures.h"
#include "BenchReport.h"

namespace {

int Usage()
{
    std::printf("usage: trelun_bench loading|enumeration|files|steps [runs]\n"
                "       trelun_bench program <runs> <installer command> <trelun08.exe> <log> [arguments...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    InitCommonControls();
    const std::string figure = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (runs < 1)
        return Usage();
    int status = 2;
    if (figure == "loading")
        status = BenchLoading(runs);
    else if (figure == "enumeration")
        status = BenchEnumeration(runs);
    else if (figure == "files")
        status = BenchFiles(runs);
    else if (figure == "steps")
        status = BenchRemovalSteps(runs);
    else if (figure == "program" && argc >= 6) {
        std::string arguments;
        for (int i = 6; i < argc; ++i)
            arguments += std::string(i > 6 ? " " : "") + argv[i];
        status = BenchProgram(runs, argv[3], argv[4], arguments.c_str(), argv[5]);
    } else
        return Usage();
    if (status != 0)
        std::printf("  benchmark %s could not be run as set up\n", figure.c_str());
    // 3: ran, but a figure missed its target.
    return status != 0 ? status : MissedTargets() ? 3 : 0;
}
