// A one-line progress bar on standard error for long renders. It shows up
// only after the work has run for a second, so short renders stay silent,
// and is redrawn a few times a second at most.
#pragma once

#include <chrono>
#include <cstdint>

namespace slicecastcli {

class ProgressBar {
public:
    // total is the amount of work to do (frames, say); 0 when unknown.
    ProgressBar(std::int64_t total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void setTotal(std::int64_t total) { total_ = total; }
    void update(std::int64_t done);
    // Wipes the bar, so that what is printed next starts on a clean line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    void draw(std::int64_t done);

    std::int64_t total_;
    bool enabled_;
    bool drawn_ = false;
    Clock::time_point started_ = Clock::now();
    Clock::time_point lastDrawn_{};
};

}  // namespace slicecastcli
