// Runs in a fresh process, so that no freed instance storage is left in the
// heap for the allocator to hand out again: loads the plug-in, caps the
// address space just above what is mapped, and asks for an instance.
// Exit status 0: the entry point answered null; 1: it made an instance.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include "host.h"
#include "shared_library.h"
#include "vst_entry_point.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    pluginhost::SharedLibrary library(argv[1]);
    const VstPluginMainProc entry = vst2host::entryPointOf(library);
    vst2host::Host host;

    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) return 3;
    std::fclose(statm);
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    // An instance needs about 3.8 MB in one block; leave room for far less.
    limit.rlim_cur = pages * static_cast<unsigned long>(sysconf(_SC_PAGESIZE)) + (1ul << 20);
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 4;

    return host.instantiate(entry) == nullptr ? 0 : 1;
}
