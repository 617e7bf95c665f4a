#include "atomic_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "console/interrupt_cleanup.h"

namespace slicecastcli {

namespace fs = std::filesystem;

namespace {

// Hidden, and unique to this process; a counter covers leftovers of an
// earlier process that had the same id.
fs::path temporaryName(const fs::path& target, int attempt) {
    return target.parent_path() /
           ("." + target.filename().string() + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".tmp");
}

constexpr int kAttempts = 100;

}  // namespace

AtomicOutputFile::AtomicOutputFile(fs::path target) : target_(fs::absolute(target)) {
    if (target_.filename().empty() || fs::is_directory(target_)) {
        throw std::runtime_error("cannot write " + target.string() + ": it is a folder, not a file name");
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const fs::path candidate = temporaryName(target_, attempt);
        // 0666 less the umask, as for any file the user creates.
        const int descriptor = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            close(descriptor);
            temporary_ = candidate;
            try {
                interruptSlot_ = removeOnInterrupt(temporary_.c_str());
            } catch (...) {
                std::remove(temporary_.c_str());
                throw;
            }
            return;
        }
        if (errno != EEXIST) throw std::runtime_error("cannot write " + target.string() + ": " + std::strerror(errno));
    }
    throw std::runtime_error("cannot write " + target.string() + ": no free temporary name beside it");
}

AtomicOutputFile::~AtomicOutputFile() {
    if (committed_) return;
    std::remove(temporary_.c_str());
    forgetOnInterrupt(interruptSlot_);
}

void AtomicOutputFile::commit() {
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw std::runtime_error("cannot write " + target_.string() + ": " + std::strerror(errno));
    }
    committed_ = true;
    forgetOnInterrupt(interruptSlot_);
}

}  // namespace slicecastcli
