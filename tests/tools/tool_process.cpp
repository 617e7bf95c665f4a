#include "tool_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tooltest {

namespace fs = std::filesystem;

namespace {

// In the child: put the streams in place and become the tool. Only calls
// that are safe between fork and exec.
[[noreturn]] void becomeTool(std::vector<char*>& argv, const fs::path& workingFolder, const fs::path& out,
                             const fs::path& err) {
    const int input = open("/dev/null", O_RDONLY);
    const int output = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int error = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (input < 0 || output < 0 || error < 0 || dup2(input, 0) < 0 || dup2(output, 1) < 0 || dup2(error, 2) < 0) {
        _exit(127);
    }
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

ToolProcess::ToolProcess(const std::vector<std::string>& args, const fs::path& workingFolder)
    : ToolProcess(SLICECAST_TOOL_PATH, args, workingFolder) {}

ToolProcess::ToolProcess(const fs::path& program, const std::vector<std::string>& args,
                         const fs::path& workingFolder) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const fs::path out = streams_.path() / "out";
    const fs::path err = streams_.path() / "err";
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("cannot start the tool");
    if (pid_ == 0) becomeTool(argv, workingFolder, out, err);
}

ToolProcess::~ToolProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

ToolRun ToolProcess::wait() {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("lost the tool's process");
    }
    pid_ = -1;
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.out = fileContents(streams_.path() / "out");
    run.err = fileContents(streams_.path() / "err");
    return run;
}

ToolRun runTool(const std::vector<std::string>& args, const fs::path& workingFolder) {
    return ToolProcess(args, workingFolder).wait();
}

ToolRun runProgram(const fs::path& program, const std::vector<std::string>& args, const fs::path& workingFolder) {
    return ToolProcess(program, args, workingFolder).wait();
}

std::string fileContents(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "slicecast-tool-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::entries() const { return entriesOf(path_); }

std::vector<std::string> ScratchFolder::entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tooltest
