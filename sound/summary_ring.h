// A fixed ring of summary records with one writer, the audio thread, and
// any number of readers on other threads (an editor's timer), none of
// which ever waits for another.
//
// Each slot carries a sequence number, odd while the writer fills it and
// even once it is complete. A reader copies a record out between two reads
// of that number and keeps the copy only when both show the record it
// expected, complete: a copy the writer overwrote meanwhile is dropped and
// counted as lost. The records are stored as atomic words, so that the
// copy the writer may be overwriting is no data race, only a torn copy
// that the numbers reveal.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "live_summary.h"

namespace slicecast {

class SummaryRing {
public:
    static constexpr std::uint64_t kSlots = 256;

    // The writer: copies the header and the columns the record carries.
    void publish(const SummaryRecord& record) noexcept {
        const std::uint64_t index = next_;
        Slot& slot = slots_[index % kSlots];
        slot.sequence.store(2 * index + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        copyIn(slot, record);
        slot.sequence.store(2 * index + 2, std::memory_order_release);
        next_ = index + 1;
        written_.store(next_, std::memory_order_release);
    }

    // How many records were ever published.
    std::uint64_t written() const noexcept { return written_.load(std::memory_order_acquire); }

    struct ReadCount {
        std::uint64_t read = 0;
        std::uint64_t lost = 0;  // overwritten before they could be read
    };
    // Hands every record from cursor on that is there now to onRecord, in
    // order, and moves cursor past them.
    template <class OnRecord>
    ReadCount readFrom(std::uint64_t& cursor, OnRecord&& onRecord) const noexcept {
        ReadCount count;
        const std::uint64_t end = written();
        if (end > cursor && end - cursor > kSlots) {
            count.lost += end - kSlots - cursor;
            cursor = end - kSlots;
        }
        SummaryRecord record;
        for (; cursor < end; ++cursor) {
            if (copyOut(cursor, record)) {
                onRecord(static_cast<const SummaryRecord&>(record));
                ++count.read;
            } else {
                ++count.lost;
            }
        }
        return count;
    }

    // Whether anyone reads: the writer publishes only then.
    void addReader() noexcept { readers_.fetch_add(1, std::memory_order_relaxed); }
    void removeReader() noexcept { readers_.fetch_sub(1, std::memory_order_relaxed); }
    bool hasReaders() const noexcept { return readers_.load(std::memory_order_relaxed) > 0; }

private:
    static_assert(std::is_trivially_copyable_v<SummaryRecord>);
    static_assert(sizeof(SummaryRecord) % sizeof(std::uint32_t) == 0);
    static_assert(sizeof(SummaryHeader) % sizeof(std::uint32_t) == 0);
    static constexpr std::size_t kWords = sizeof(SummaryRecord) / sizeof(std::uint32_t);
    static constexpr std::size_t kHeaderWords = sizeof(SummaryHeader) / sizeof(std::uint32_t);

    struct Slot {
        std::atomic<std::uint64_t> sequence{0};
        std::array<std::atomic<std::uint32_t>, kWords> words{};
    };

    static std::size_t wordsOf(const SummaryHeader& header) noexcept {
        return usedBytesOf(header) / sizeof(std::uint32_t);
    }

    static void copyIn(Slot& slot, const SummaryRecord& record) noexcept {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
        const std::size_t words = wordsOf(record.header);
        for (std::size_t i = 0; i < words; ++i) {
            std::uint32_t word;
            std::memcpy(&word, bytes + i * sizeof word, sizeof word);
            slot.words[i].store(word, std::memory_order_relaxed);
        }
    }

    bool copyOut(std::uint64_t index, SummaryRecord& record) const noexcept {
        const Slot& slot = slots_[index % kSlots];
        const std::uint64_t complete = 2 * index + 2;
        if (slot.sequence.load(std::memory_order_acquire) != complete) return false;
        auto* bytes = reinterpret_cast<unsigned char*>(&record);
        const auto load = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                const std::uint32_t word = slot.words[i].load(std::memory_order_relaxed);
                std::memcpy(bytes + i * sizeof word, &word, sizeof word);
            }
        };
        load(0, kHeaderWords);
        // A torn header may claim any count; it is bounded before it is
        // used, and the numbers below then reject the copy.
        if (record.header.columnCount < 1 || record.header.columnCount > kRecordColumns) {
            record.header.columnCount = 0;
        }
        load(kHeaderWords, wordsOf(record.header));
        std::atomic_thread_fence(std::memory_order_acquire);
        return slot.sequence.load(std::memory_order_relaxed) == complete && record.header.columnCount > 0;
    }

    std::array<Slot, kSlots> slots_{};
    std::uint64_t next_ = 0;  // the writer's own count
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::int32_t> readers_{0};
};

}  // namespace slicecast
