#include "batch_render.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

#include "console/progress_bar.h"

namespace slicecastcli {

namespace {

// Each file counts the same on the bar, in steps of a thousandth.
constexpr std::int64_t kStepsPerFile = 1000;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

class BatchRun {
public:
    BatchRun(const std::string& pluginPath, const std::vector<BatchFile>& plan, const RenderOptions& options)
        : pluginPath_(pluginPath), plan_(plan), options_(options), steps_(plan.size()), failures_(plan.size()) {}

    // Takes files off the plan until none is left.
    void work() {
        for (std::size_t file = next_++; file < plan_.size(); file = next_++) {
            render(file);
            const std::lock_guard lock(mutex_);
            ++finished_;
            changed_.notify_one();
        }
    }

    // Redraws the bar until every file is done.
    void watch(ProgressBar& bar) {
        std::unique_lock lock(mutex_);
        while (finished_ < plan_.size()) {
            changed_.wait_for(lock, kRedrawInterval);
            std::int64_t done = 0;
            for (const auto& steps : steps_) done += steps.load();
            bar.update(done);
        }
    }

    std::vector<BatchFailure> failures() const {
        std::vector<BatchFailure> all;
        for (std::size_t file = 0; file < plan_.size(); ++file) {
            if (failures_[file]) all.push_back({plan_[file].input, *failures_[file]});
        }
        return all;
    }

private:
    void render(std::size_t file) {
        RenderOptions options = options_;
        options.input = plan_[file].input;
        options.output = plan_[file].output;
        std::atomic<std::int64_t>& steps = steps_[file];
        try {
            renderFile(pluginPath_, options, [&steps](std::int64_t done, std::int64_t total) {
                if (total > 0) steps.store(std::min(done, total) * kStepsPerFile / total);
            });
        } catch (const std::bad_alloc&) {
            failures_[file] = "out of memory";
        } catch (const std::exception& error) {
            failures_[file] = error.what();
        }
        steps.store(kStepsPerFile);
    }

    const std::string& pluginPath_;
    const std::vector<BatchFile>& plan_;
    const RenderOptions& options_;
    std::atomic<std::size_t> next_{0};
    std::vector<std::atomic<std::int64_t>> steps_;
    // Each written by the one thread that renders the file, read after all
    // threads are joined.
    std::vector<std::optional<std::string>> failures_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t finished_ = 0;
};

}  // namespace

std::vector<BatchFailure> renderBatch(const std::string& pluginPath, const std::vector<BatchFile>& plan,
                                      const RenderOptions& options, unsigned jobs, const Console& console) {
    if (plan.empty()) return {};
    BatchRun run(pluginPath, plan, options);
    ProgressBar bar(static_cast<std::int64_t>(plan.size()) * kStepsPerFile, console.showsProgress());
    std::vector<std::jthread> workers;
    const std::size_t threads = std::clamp<std::size_t>(jobs, 1, plan.size());
    for (std::size_t worker = 0; worker < threads; ++worker) workers.emplace_back([&run] { run.work(); });
    run.watch(bar);
    workers.clear();
    bar.finish();
    return run.failures();
}

}  // namespace slicecastcli
