// Real-time safety: while processReplacing runs on the audio thread, the
// effect must not touch the heap or a lock, since either can block for an
// unbounded time. The test executable replaces the C library's allocator
// and mutex entry points with counting wrappers (the library, loaded into
// this process, binds to them), armed only around the audio calls.
#include <gtest/gtest.h>

#include "clap_event_list.h"
#include "clap_live_summary.h"
#include "clap_instance.h"
#include "clap_transport.h"
#include "reliability_support.h"
#include "scripted_time_host.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"
#include "summary_handover.h"
#include "vst3_test_host.h"

#if !defined(SLICECAST_SANITIZED)

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <random>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

// Armed on one thread only: the audio thread during the calls under test.
thread_local bool armed = false;
std::atomic<int> heapCalls{0};
std::atomic<int> lockCalls{0};

void countHeap() {
    if (armed) heapCalls.fetch_add(1, std::memory_order_relaxed);
}
void countLock() {
    if (armed) lockCalls.fetch_add(1, std::memory_order_relaxed);
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) {
    countHeap();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    countHeap();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size) {
    countHeap();
    return __libc_realloc(pointer, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    countHeap();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    countHeap();
    *result = __libc_memalign(alignment, size);
    return *result == nullptr ? 12 /* ENOMEM */ : 0;
}
void free(void* pointer) {
    countHeap();
    __libc_free(pointer);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
    countLock();
    static const auto real = next<int (*)(pthread_mutex_t*)>("pthread_mutex_lock");
    return real(mutex);
}
int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    countLock();
    static const auto real = next<int (*)(pthread_mutex_t*)>("pthread_mutex_trylock");
    return real(mutex);
}
int pthread_mutex_unlock(pthread_mutex_t* mutex) {
    countLock();
    static const auto real = next<int (*)(pthread_mutex_t*)>("pthread_mutex_unlock");
    return real(mutex);
}

}  // extern "C"

namespace {

// Runs a call with the counters armed on this thread.
template <typename Call>
void armedDuring(Call&& call) {
    armed = true;
    call();
    armed = false;
}

TEST(RealtimeSafety, TheCountersSeeCallsMadeInsideTheLibrary) {
    // Creating an instance allocates it inside the library: the counters
    // must see that, or the checks below would prove nothing.
    vst2host::Host host;
    heapCalls = 0;
    std::unique_ptr<vst2host::PluginInstance> instance;
    armedDuring([&] { instance = std::make_unique<vst2host::PluginInstance>(host, testsupport::slicecastEntry()); });
    EXPECT_GE(heapCalls.load(), 1);
    armedDuring([&] {
        static pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
        lockCalls = 0;
        pthread_mutex_lock(&mutex);
        pthread_mutex_unlock(&mutex);
    });
    EXPECT_EQ(lockCalls.load(), 2);
}

TEST(RealtimeSafety, ProcessingNeitherAllocatesNorLocks) {
    std::mt19937 generator(3);
    testsupport::ScriptedTimeHost host;
    host.transport = pluginhost::Transport(48000.0, 128.0, -3.0);
    auto instance = reliability::openInstance(host, 48000.0f, reliability::presets()[1], 4096);
    const auto input = testsupport::noise(4096, 2);
    pluginhost::StereoBuffer output(4096);
    VstTimeInfo noFlags{};

    heapCalls = 0;
    lockCalls = 0;
    for (int block = 0; block < 500; ++block) {
        const auto frames = std::uniform_int_distribution<VstInt32>(0, 4096)(generator);
        // Parameter changes and a host without a time record now and then
        // take other paths through processing.
        instance->setParameter(block % 6, std::uniform_real_distribution<float>(0.0f, 1.0f)(generator));
        if (block % 7 == 0) host.answerWith(block % 14 == 0 ? nullptr : &noFlags);
        else host.answerWithTransport();
        armedDuring([&] {
            reliability::processBlock(*instance, input.left.data(), input.right.data(), output.left.data(),
                                      output.right.data(), frames);
        });
        host.transport.advance(frames);
    }
    EXPECT_EQ(heapCalls.load(), 0) << "heap calls inside processReplacing";
    EXPECT_EQ(lockCalls.load(), 0) << "mutex calls inside processReplacing";
}

class RealtimeSafetyWithEditor : public testing::TestWithParam<bool> {};

TEST_P(RealtimeSafetyWithEditor, ClapProcessingAndFlushNeitherAllocateNorLock) {
    // The CLAP edition's audio-thread calls, with parameter and transport
    // events inside blocks and now and then no transport at all, with and
    // without an editor reading the summary; the event lists are built
    // before the counters are armed.
    std::mt19937 generator(4);
    claphost::HostObject host;
    claphost::ClapInstance plugin(testsupport::slicecastClapLibrary(), host);
    ASSERT_TRUE(plugin.activate(48000.0, 1, 4096));
    const auto* feed = static_cast<const slicecast::ClapLiveSummary*>(plugin.extension(slicecast::kClapExtLiveSummary));
    ASSERT_NE(nullptr, feed);
    slicecast::SummaryRing& ring = *feed->ring(&plugin.plugin());
    if (GetParam()) ring.addReader();
    const auto input = testsupport::noise(4096, 2);
    pluginhost::StereoBuffer output(4096);

    heapCalls = 0;
    lockCalls = 0;
    armedDuring([&] { ASSERT_TRUE(plugin.startProcessing()); });
    for (int block = 0; block < 500; ++block) {
        const auto frames = std::uniform_int_distribution<std::uint32_t>(1, 4096)(generator);
        claphost::EventList events;
        for (std::uint32_t frame = 0; frame < frames; frame += 97) {
            const auto id = static_cast<clap::Id>(frame % 6);
            events.addParamValue(frame, id, std::uniform_real_distribution<double>(0.0, id < 2 ? 4.0 : 100.0)(generator));
            if (frame % 3 == 0) events.addTransport(frame, claphost::playingTransport(block + frame / 1000.0, 90.0 + block));
        }
        const clap::EventTransport transport = claphost::playingTransport(block * 0.5 - 3.0, 128.0);
        armedDuring([&] {
            plugin.process({input.left.data(), input.right.data(), output.left.data(), output.right.data(), frames,
                            block % 7 == 0 ? nullptr : &transport, &events});
            if (block % 50 == 0) plugin.flush(events);
            if (block % 100 == 0) plugin.reset();
        });
    }
    armedDuring([&] { plugin.stopProcessing(); });
    EXPECT_EQ(GetParam(), ring.written() > 0);
    EXPECT_EQ(heapCalls.load(), 0) << "heap calls inside process, flush, reset or start/stop";
    EXPECT_EQ(lockCalls.load(), 0) << "mutex calls inside process, flush, reset or start/stop";
}

TEST_P(RealtimeSafetyWithEditor, Vst3ProcessingAndFlushNeitherAllocateNorLock) {
    // The VST 3 edition's audio-thread calls, with change points inside
    // blocks, now and then no context, and flushes, with and without an
    // editor reading the summary; the queues are built before the counters
    // are armed.
    std::mt19937 generator(5);
    vst3test::Instance instance;
    instance.activate(48000.0, 4096);
    const auto source = vst3test::query<slicecast::ISummaryRingSource>(instance.controller.get());
    ASSERT_TRUE(source);
    slicecast::SummaryRing& ring = *source->summaryRing();
    if (GetParam()) ring.addReader();
    const auto input = testsupport::noise(4096, 2);
    pluginhost::StereoBuffer output(4096);

    heapCalls = 0;
    lockCalls = 0;
    for (int block = 0; block < 500; ++block) {
        const auto frames = std::uniform_int_distribution<vst3::int32>(1, 4096)(generator);
        const auto changes = vst3test::changes();
        for (vst3::int32 frame = 0; frame < frames; frame += 97)
            changes->add(static_cast<vst3::ParamID>(frame % 6), frame,
                         std::uniform_real_distribution<double>(0.0, 1.0)(generator));
        vst3::ProcessContext context = vst3test::contextAt(block * 0.5 - 3.0, 90.0 + block, 48000.0);
        armedDuring([&] {
            instance.process(&input, output, 0, frames, block % 7 == 0 ? nullptr : &context, changes.get());
            if (block % 50 == 0) instance.process(nullptr, output, 0, 0, nullptr, changes.get());
            if (block % 100 == 0) {
                instance.processor->setProcessing(0);
                instance.processor->setProcessing(1);
            }
        });
    }
    EXPECT_EQ(GetParam(), ring.written() > 0);
    EXPECT_EQ(heapCalls.load(), 0) << "heap calls inside process, a flush or setProcessing";
    EXPECT_EQ(lockCalls.load(), 0) << "mutex calls inside process, a flush or setProcessing";
    instance.deactivate();
}

INSTANTIATE_TEST_SUITE_P(EditorOpen, RealtimeSafetyWithEditor, testing::Bool());

}  // namespace

#else

TEST(RealtimeSafety, ProcessingNeitherAllocatesNorLocks) {
    GTEST_SKIP() << "sanitizer builds replace malloc and the mutex calls themselves; the counting replacements "
                    "of this test would conflict with theirs, so it runs in the plain build only";
}

#endif
