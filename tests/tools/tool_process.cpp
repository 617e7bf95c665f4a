#include "tool_process.h"

#include <fcntl.h>
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

ToolRun runTool(const std::vector<std::string>& args, const fs::path& workingFolder) {
    const ScratchFolder streams;
    std::vector<std::string> words{SLICECAST_TOOL_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const fs::path out = streams.path() / "out";
    const fs::path err = streams.path() / "err";

    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("cannot start the tool");
    if (child == 0) becomeTool(argv, workingFolder, out, err);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("lost the tool's process");
    }
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = fileContents(out);
    run.err = fileContents(err);
    return run;
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

std::vector<std::string> ScratchFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tooltest
