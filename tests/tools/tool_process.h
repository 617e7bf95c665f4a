// Runs the built slicecast tool as a separate process, the way a user does,
// and collects what it printed and how it exited.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tooltest {

struct ToolRun {
    // The exit status; -1 if the process did not exit normally.
    int status = -1;
    // The signal that ended the process, if one did.
    int signal = 0;
    std::string out;
    std::string err;
};

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
    // The same for any folder.
    static std::vector<std::string> entriesOf(const std::filesystem::path& folder);

private:
    std::filesystem::path path_;
};

// `slicecast args...` (or another program's) running in folder
// workingFolder (the test's own folder if empty), with nothing on standard
// input.
class ToolProcess {
public:
    explicit ToolProcess(const std::vector<std::string>& args, const std::filesystem::path& workingFolder = {});
    ToolProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                const std::filesystem::path& workingFolder = {});
    // Kills the process if nobody waited for it.
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    int pid() const { return pid_; }
    ToolRun wait();

private:
    ScratchFolder streams_;
    int pid_ = -1;
};

// Runs the tool to its end.
ToolRun runTool(const std::vector<std::string>& args, const std::filesystem::path& workingFolder = {});
// Runs any program to its end: an installed copy of the tool, cmake, dpkg.
ToolRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& workingFolder = {});

}  // namespace tooltest
