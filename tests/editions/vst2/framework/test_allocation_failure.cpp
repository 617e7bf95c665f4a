// The entry point when the heap has no room for an instance, seen from a
// host: a probe process (allocation_failure_probe.cpp) caps its own address
// space and asks for one. POSIX only: a fork, an exec and an address-space
// limit.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "slicecast_plugin.h"

using testsupport::slicecastPath;

TEST(EntryPoint, AnswersNullWithoutThrowingWhenNoStorageCanBeHad) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer allocators reserve address space and abort on failed allocations";
#endif
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(ALLOCATION_FAILURE_PROBE, ALLOCATION_FAILURE_PROBE, slicecastPath().c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the probe died instead of getting null";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
