#include "LoadLine.h"

bool RemoveLoadCommand(std::string& line, const std::string& command)
{
    if (command.empty())
        return false;
    for (std::size_t at = line.find(command); at != std::string::npos; at = line.find(command, at + 1)) {
        const bool startsWord = at == 0 || line[at - 1] == ' ';
        const std::size_t end = at + command.size();
        const bool endsWord = end == line.size() || line[end] == ' ';
        // Only the first occurrence counts, word or not.
        if (!startsWord || !endsWord)
            return false;
        line.erase(at, end < line.size() ? command.size() + 1 : command.size());
        return true;
    }
    return false;
}
