// Runs the built slicecast tool as a separate process, the way a user does,
// and collects what it printed and how it exited.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tooltest {

struct ToolRun {
    // The exit status; -1 if the process did not exit normally (a crash).
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `slicecast args...` in folder workingFolder (the test's own folder
// if empty), with nothing on standard input.
ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& workingFolder = {});

// All bytes of a file; empty if there is none.
std::string fileContents(const std::filesystem::path& file);

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test is done.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of everything in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

}  // namespace tooltest
