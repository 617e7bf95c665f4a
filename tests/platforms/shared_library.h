// A shared library opened by path with the system's loader (dlopen,
// LoadLibrary) and its exports looked up by name: how the platform renders
// reach the LV2 edition's binary where there is no lilv. The loader calls
// live in shared_library_posix.cpp and shared_library_windows.cpp.
#pragma once

#include <string>

namespace platforms {

class SharedLibrary {
public:
    // Throws std::runtime_error when the library cannot be loaded.
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The export of that name; throws std::runtime_error if there is none.
    void* symbol(const char* name) const;

private:
    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace platforms
