#include "PreviewOptions.h"

#include <cstring>

const char kPreviewUsage[] =
    "usage: unmcheck [options] SCRIPT...\n"
    "  --platform nt|9x|win32s|x64\n"
    "                           Windows family to assume (default nt); x64: the\n"
    "                           64-bit program on 64-bit Windows\n"
    "  --printers FILE          installed printers, one per line:\n"
    "                           name|driver|pelled name|server|default|halvaprint\n"
    "  --remove NAME            a printer chosen for removal (repeatable)\n"
    "  --remove-all             every listed printer chosen for removal\n"
    "  --switches TEXT          the uninstaller's switches, e.g. \"/MFG:Vanto /UNPELL\"\n"
    "Prints the problems met in the scripts and the removal profile.\n"
    "Exit code: 0 no problem, 1 warnings, 2 bad arguments.\n";

namespace {

bool TakeValue(int argc, char** argv, int& i, std::string& value, std::string& error)
{
    if (i + 1 >= argc) {
        error = std::string(argv[i]) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

}  // namespace

bool ParsePreviewOptions(int argc, char** argv, PreviewOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string value;
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            options.help = true;
        } else if (argument == "--platform") {
            if (!TakeValue(argc, argv, i, options.platform, error))
                return false;
            if (options.platform != "nt" && options.platform != "9x" && options.platform != "win32s" &&
                options.platform != "x64") {
                error = "unknown platform \"" + options.platform + "\" (nt, 9x, win32s or x64)";
                return false;
            }
        } else if (argument == "--printers") {
            if (!TakeValue(argc, argv, i, options.printersFile, error))
                return false;
        } else if (argument == "--remove") {
            if (!TakeValue(argc, argv, i, value, error))
                return false;
            options.chosen.push_back(value);
        } else if (argument == "--remove-all") {
            options.chooseAll = true;
        } else if (argument == "--switches") {
            if (!TakeValue(argc, argv, i, options.switches, error))
                return false;
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            error = "unknown option " + argument;
            return false;
        } else {
            options.scripts.push_back(argument);
        }
    }
    if (!options.help && options.scripts.empty()) {
        error = "no script given";
        return false;
    }
    return true;
}
