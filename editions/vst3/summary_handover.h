// How the VST 3 edition's controller, and the editor views it makes, reach
// the summary ring its processor writes: the two are separate objects that
// only the host connects. The processor keeps the ring in a shared feed,
// counted, and at connect sends its peer one message with the feed's
// address, a magic number, a version and the feed's instance id. The
// controller takes the feed only when every one of these checks out and
// the module itself still lists a feed of that id at that address: an
// address that came from another process (a host that runs the processor
// apart, or copies messages between processes) is never followed. The
// processor class never declares that it may run apart.
//
// Both sides hold a reference; the feed lives until the last of them lets
// go (the processor at terminate, the controller at disconnect or
// terminate), in either order.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor_feed.h"
#include "vst3_abi.h"

namespace slicecast {

class SharedFeed {
public:
    // A new feed with one reference, listed in the module; null when no
    // storage can be had.
    static SharedFeed* create() noexcept;

    void retain() noexcept { references_.fetch_add(1, std::memory_order_relaxed); }
    // The last release unlists and deletes it.
    void release() noexcept;

    EditorFeed& feed() noexcept { return feed_; }
    std::int64_t instance() const noexcept { return instance_; }

    // The processor's side: the message for its peer. False when the host
    // makes no message or the peer refuses it.
    bool sendTo(vst3::IConnectionPoint& peer, vst3::IHostApplication& host) noexcept;
    // The controller's side: the feed a message names, with a reference of
    // the caller's own, or null when the message is not the hand-over or
    // does not check out.
    static SharedFeed* receive(vst3::IMessage* message) noexcept;

private:
    explicit SharedFeed(std::int64_t instance) noexcept : instance_(instance) {}
    ~SharedFeed() = default;

    std::atomic<std::uint32_t> references_{1};
    std::int64_t instance_;
    EditorFeed feed_;
};

// A feed held by one side, let go of when replaced or dropped.
class HeldFeed {
public:
    HeldFeed() = default;
    // Takes over a reference the caller holds.
    explicit HeldFeed(SharedFeed* feed) noexcept : feed_(feed) {}
    HeldFeed(const HeldFeed&) = delete;
    HeldFeed& operator=(const HeldFeed&) = delete;
    ~HeldFeed() { reset(); }

    void reset(SharedFeed* feed = nullptr) noexcept {
        if (feed_ != nullptr) feed_->release();
        feed_ = feed;
    }
    SharedFeed* get() const noexcept { return feed_; }

private:
    SharedFeed* feed_ = nullptr;
};

// What the controller offers its editor views (and the project's tests) on
// its queryInterface: the processor's ring, or null when the hand-over did
// not come or did not check out, in which case an editor draws no waveform.
class ISummaryRingSource : public vst3::FUnknown {
public:
    virtual SummaryRing* SLICECAST_VST3_CALL summaryRing() = 0;

    static constexpr vst3::Uid iid = vst3::uidOf(0x5C1CE0A5, 0x7A3B4E21, 0x9D6F0C84, 0x2B17E4D3);
};

}  // namespace slicecast
