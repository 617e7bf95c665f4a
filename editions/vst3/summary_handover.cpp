#include "summary_handover.h"

#include <array>
#include <cstring>
#include <new>
#include <thread>

namespace slicecast {

namespace {

constexpr const char* kMessageId = "SlicecastSummaryRing";
constexpr const char* kMagicKey = "magic";
constexpr const char* kVersionKey = "version";
constexpr const char* kInstanceKey = "instance";
constexpr const char* kAddressKey = "address";
constexpr std::int64_t kMagic = 0x536c6963'52696e67;  // "SlicRing"
// Bumped whenever the ring's or the records' layout changes.
constexpr std::int64_t kVersion = 1;

// The feeds alive in this module, a fixed table so that listing one
// allocates nothing, held by a short spin lock: only the host's main-thread
// calls take it (initialize, the last release, notify), never the audio
// thread, and no library lock (a DLL's own threads library) is needed.
class FeedList {
public:
    bool add(SharedFeed* feed) noexcept {
        const Held held(lock_);
        for (SharedFeed*& slot : feeds_) {
            if (slot == nullptr) {
                slot = feed;
                return true;
            }
        }
        return false;
    }
    void remove(const SharedFeed* feed) noexcept {
        const Held held(lock_);
        for (SharedFeed*& slot : feeds_) {
            if (slot == feed) slot = nullptr;
        }
    }
    // The listed feed at address with that instance id, retained; or null.
    SharedFeed* claim(std::int64_t address, std::int64_t instance) noexcept {
        const Held held(lock_);
        for (SharedFeed* feed : feeds_) {
            if (feed != nullptr && static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(feed)) == address &&
                feed->instance() == instance) {
                feed->retain();
                return feed;
            }
        }
        return nullptr;
    }

private:
    struct Held {
        explicit Held(std::atomic_flag& flag) noexcept : flag_(flag) {
            while (flag_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
        }
        ~Held() { flag_.clear(std::memory_order_release); }
        std::atomic_flag& flag_;
    };
    // More instances than any session holds; beyond it, an instance's
    // editor draws no waveform.
    static constexpr std::size_t kMostFeeds = 4096;
    std::atomic_flag lock_ = ATOMIC_FLAG_INIT;
    std::array<SharedFeed*, kMostFeeds> feeds_{};
};

FeedList liveFeeds;

std::atomic<std::int64_t> nextInstance{1};

}  // namespace

SharedFeed* SharedFeed::create() noexcept {
    auto* feed = new (std::nothrow) SharedFeed(nextInstance.fetch_add(1, std::memory_order_relaxed));
    if (feed == nullptr) return nullptr;
    if (!liveFeeds.add(feed)) {
        delete feed;
        return nullptr;
    }
    return feed;
}

void SharedFeed::release() noexcept {
    if (references_.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    liveFeeds.remove(this);
    delete this;
}

bool SharedFeed::sendTo(vst3::IConnectionPoint& peer, vst3::IHostApplication& host) noexcept {
    vst3::TUID messageId;
    std::memcpy(messageId, vst3::IMessage::iid.data(), sizeof messageId);
    void* made = nullptr;
    if (host.createInstance(messageId, messageId, &made) != vst3::kResultOk || made == nullptr) return false;
    auto* message = static_cast<vst3::IMessage*>(made);
    message->setMessageID(kMessageId);
    bool sent = false;
    if (vst3::IAttributeList* attributes = message->getAttributes(); attributes != nullptr) {
        attributes->setInt(kMagicKey, kMagic);
        attributes->setInt(kVersionKey, kVersion);
        attributes->setInt(kInstanceKey, instance_);
        attributes->setInt(kAddressKey, static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(this)));
        sent = peer.notify(message) == vst3::kResultOk;
    }
    message->release();
    return sent;
}

SharedFeed* SharedFeed::receive(vst3::IMessage* message) noexcept {
    if (message == nullptr) return nullptr;
    const char* id = message->getMessageID();
    if (id == nullptr || std::strcmp(id, kMessageId) != 0) return nullptr;
    vst3::IAttributeList* attributes = message->getAttributes();
    if (attributes == nullptr) return nullptr;
    std::int64_t magic = 0, version = 0, instance = 0, address = 0;
    if (attributes->getInt(kMagicKey, magic) != vst3::kResultOk || magic != kMagic) return nullptr;
    if (attributes->getInt(kVersionKey, version) != vst3::kResultOk || version != kVersion) return nullptr;
    if (attributes->getInt(kInstanceKey, instance) != vst3::kResultOk) return nullptr;
    if (attributes->getInt(kAddressKey, address) != vst3::kResultOk) return nullptr;
    // Only an address this module lists, under the id it was listed with,
    // is taken; nothing is read through it before.
    return liveFeeds.claim(address, instance);
}

}  // namespace slicecast
