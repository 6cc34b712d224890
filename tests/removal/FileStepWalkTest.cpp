// The file step reads each directory tree once for all listed names, and
// the removal sequence spreads it over timer ticks. On random trees it must end
// exactly where one walk per listed name ends: the same files and
// directories left, the same ones waiting for the restart, the same restart
// request.
#include "RemovalFixture.h"

#include <algorithm>
#include <memory>
#include <random>
#include <set>

#include "MatchingFiles.h"
#include "TempDir.h"

namespace {

const char* const kNamePool[] = {"vzone.dll", "VZTWO.DRV", "vzthree.ini", "vzfour.hlp", "vzfive.dll",
                                 "other.dll", "keep.txt",  "vzsix.exe",   "vzseven.cat"};
const char* const kDirectoryPool[] = {"3", "2", "old", "Vanto", "sub", ".cache", "vzone.dll", "deep"};

std::string Folded(std::string text)
{
    for (char& c : text)
        c = FoldChar(c);
    return text;
}

// Every entry below root, relative and folded; directories end with '\'.
void Listing(const std::string& root, const std::string& relative, std::set<std::string>& entries)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entries.insert(Folded(relative + name + "\\"));
            Listing(root, relative + name + "\\", entries);
        } else {
            entries.insert(Folded(relative + name));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The restart's list, as paths relative to root.
std::set<std::string> ScheduledBelow(const std::string& root)
{
    std::set<std::string> scheduled;
    const std::string raw = RawPendingRenames();
    const std::string mark = Folded(root);
    for (std::size_t start = 0; start < raw.size();) {
        const std::size_t end = raw.find('\0', start);
        const std::string entry = Folded(raw.substr(start, end == std::string::npos ? std::string::npos : end - start));
        const std::size_t at = entry.find(mark);
        if (at != std::string::npos)
            scheduled.insert(entry.substr(at + mark.size()));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return scheduled;
}

struct RandomTree {
    std::vector<std::string> files;        // relative paths
    std::vector<std::string> directories;  // relative, empty ones included
    std::vector<std::string> listed;       // the removal profile's files
    std::vector<std::string> held;         // files kept open while the step runs
};

RandomTree MakeRandomTree(unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    RandomTree tree;
    const char* const tops[] = {"sys\\", "win\\", "drv\\", "prc\\", "oem\\Vanto\\", "oem\\Otra\\", "fuera\\"};
    for (int i = 0; i < 60; ++i) {
        std::string path = tops[pick(7)];
        const std::size_t depth = pick(6);
        for (std::size_t level = 0; level < depth; ++level)
            path += std::string(kDirectoryPool[pick(8)]) + "\\";
        if (pick(6) == 0) {
            tree.directories.push_back(path);
            continue;
        }
        std::string name = kNamePool[pick(9)];
        if (pick(3) == 0)
            std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(toupper(c)); });
        // A directory of a listed name holds no file of the same name.
        if (Folded(path).find(Folded(name) + "\\") != std::string::npos)
            continue;
        tree.files.push_back(path + name);
    }
    // A path cannot be a file and a directory at once.
    auto isDirectoryOfAnother = [&tree](const std::string& file) {
        const std::string prefix = Folded(file) + "\\";
        for (const std::vector<std::string>* list : {&tree.files, &tree.directories}) {
            for (const std::string& other : *list) {
                if (Folded(other).compare(0, prefix.size(), prefix) == 0)
                    return true;
            }
        }
        return false;
    };
    tree.files.erase(std::remove_if(tree.files.begin(), tree.files.end(), isDirectoryOfAnother), tree.files.end());
    for (const char* name : kNamePool) {
        if (pick(3) != 0)
            tree.listed.push_back(pick(4) == 0 ? std::string(name) + "=1" : name);
    }
    tree.listed.push_back("vzmissing.dll");
    for (int i = 0; i < 2 && !tree.files.empty(); ++i)
        tree.held.push_back(tree.files[pick(tree.files.size())]);
    return tree;
}

// What only one side holds, one "<" or ">" line each.
std::string Difference(const std::set<std::string>& left, const std::set<std::string>& right)
{
    std::string text;
    for (const std::string& entry : left) {
        if (!right.count(entry))
            text += "< " + entry + "\n";
    }
    for (const std::string& entry : right) {
        if (!left.count(entry))
            text += "> " + entry + "\n";
    }
    return text;
}

struct StepResult {
    std::set<std::string> left;
    std::set<std::string> scheduled;
    int restartNeeded = 0;
    unsigned long reads = 0;
    int ticks = 0;
};

class SerialFileStepWalk : public RemovalTest {
protected:
    // Lays the tree out in a fresh directory, runs the step on it with the
    // given files held open, and records what is left.
    enum Walk { PER_NAME, ONCE, ONE_TASK_PER_TICK };
    StepResult Run(const RandomTree& tree, Walk walk)
    {
        TempDir root;
        for (const std::string& directory : tree.directories)
            EXPECT_TRUE(root.MakeDirectory(directory.substr(0, directory.size() - 1))) << directory;
        for (const std::string& file : tree.files)
            EXPECT_TRUE(root.Write(file, "x")) << file;
        removal.systemDirectories = {root.Join("sys\\"), root.Join("win\\")};
        removal.printerDirectories = {root.Join("drv\\"), root.Join("prc\\")};
        database.removalProfile.oemPaths = {root.Join("oem\\Vanto"), root.Join("oem\\Otra\\")};
        database.removalProfile.files = tree.listed;
        database.keptPrinterCount = 1;
        database.removeOemInf = 0;
        database.restartNeeded = 0;

        StepResult result;
        {
            std::vector<std::unique_ptr<HeldFile>> held;
            for (const std::string& file : tree.held)
                held.emplace_back(new HeldFile(root.Join(file)));
            const unsigned long readsBefore = MatchingDirectoryReads();
            if (walk == PER_NAME) {
                for (const std::string& entry : tree.listed)
                    removal.removeFileEverywhere(entry.substr(0, entry.find('=')).c_str());
            } else if (walk == ONCE) {
                removal.removeFiles();
            } else {
                while (!removal.ContinueFileStep(0))
                    ++result.ticks;
            }
            result.reads = MatchingDirectoryReads() - readsBefore;
        }
        Listing(root.Path(), "", result.left);
        result.scheduled = ScheduledBelow(root.Path());
        result.restartNeeded = database.restartNeeded;
        ForgetPendingRenames(root.Path());
        return result;
    }
};

}  // namespace

TEST_F(SerialFileStepWalk, OneWalkPerTreeEndsWhereOneWalkPerNameEnds)
{
    int withScheduled = 0;
    int withEmptiedDirectory = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const RandomTree tree = MakeRandomTree(seed);
        const StepResult perName = Run(tree, PER_NAME);
        const StepResult once = Run(tree, ONCE);
        EXPECT_EQ("", Difference(perName.left, once.left));
        EXPECT_EQ("", Difference(perName.scheduled, once.scheduled));
        EXPECT_EQ(perName.restartNeeded, once.restartNeeded);
        EXPECT_LT(once.reads, perName.reads);
        // Spread over as many ticks as it has tasks, the step ends the same.
        const StepResult sliced = Run(tree, ONE_TASK_PER_TICK);
        EXPECT_EQ("", Difference(once.left, sliced.left));
        EXPECT_EQ("", Difference(once.scheduled, sliced.scheduled));
        EXPECT_EQ(once.restartNeeded, sliced.restartNeeded);
        EXPECT_EQ(once.reads, sliced.reads);
        EXPECT_GT(sliced.ticks, 10);
        withScheduled += once.scheduled.empty() ? 0 : 1;
        for (const std::string& file : tree.files) {
            const std::string folded = Folded(file);
            const std::string directory = folded.substr(0, folded.rfind('\\') + 1);
            if (folded.compare(0, 10, "oem\\vanto\\") == 0 && directory.size() > 10 && !once.left.count(directory)) {
                ++withEmptiedDirectory;
                break;
            }
        }
    }
    // The seeds reach the cases that could differ.
    EXPECT_GT(withScheduled, 3);
    EXPECT_GT(withEmptiedDirectory, 3);
}
