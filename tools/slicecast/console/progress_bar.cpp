#include "progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace slicecastcli {

namespace {
constexpr auto kQuietStart = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;
}  // namespace

ProgressBar::ProgressBar(std::int64_t total, bool enabled) : total_(total), enabled_(enabled) {}

ProgressBar::~ProgressBar() { finish(); }

void ProgressBar::update(std::int64_t done) {
    if (!enabled_) return;
    const auto now = Clock::now();
    if (now - started_ < kQuietStart || now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    draw(done);
}

void ProgressBar::draw(std::int64_t done) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - started_).count();
    if (total_ <= 0) {
        std::fprintf(stderr, "\r%lld frames, %.0f s", static_cast<long long>(done), elapsed);
    } else {
        const double fraction = std::min(1.0, static_cast<double>(done) / static_cast<double>(total_));
        const int filled = static_cast<int>(fraction * kBarWidth);
        const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                                std::string(static_cast<std::size_t>(kBarWidth - filled), '-');
        std::fprintf(stderr, "\r[%s] %3d%%  %.0f s", bar.c_str(), static_cast<int>(fraction * 100.0), elapsed);
    }
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (!drawn_) return;
    // Carriage return, then erase to the end of the line.
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace slicecastcli
