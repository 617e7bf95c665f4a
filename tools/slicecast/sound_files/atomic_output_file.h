// A file written under a temporary name in the folder it belongs in and
// renamed into place only when complete: nobody sees a partial file, and a
// run that fails leaves whatever was at the path before untouched.
#pragma once

#include <cstddef>
#include <filesystem>

namespace slicecastcli {

class AtomicOutputFile {
public:
    // Creates an empty temporary file beside target; throws when the folder
    // cannot take it.
    explicit AtomicOutputFile(std::filesystem::path target);
    // Removes the temporary file unless it was committed.
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    // Where to write meanwhile.
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // Renames the temporary file to the target, replacing what was there.
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool committed_ = false;
    std::size_t interruptSlot_ = 0;
};

}  // namespace slicecastcli
