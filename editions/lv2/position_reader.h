// The keys of a time:Position object, as the LV2 edition's rule reads them
// (see Lv2Transport): each property is read only if its header and its
// value lie wholly within the object, in any numeric atom type.
//
// Hosts write every position with the same keys in the same types (Ardour
// one per rolling cycle), so the reader keeps the last object's layout: the
// offset, key and value header of each property it read. An object of the
// same size with the same headers at the same offsets would walk exactly
// the same way, every bounds check and URID compare coming out the same, so
// its values are read straight from those offsets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <lv2/atom/atom.h>

#include "time_urids.h"

namespace slicecast {

// The keys the rule reads, as indices of PositionKeys.
enum PositionKey : std::uint8_t {
    kSpeed,
    kBeatsPerMinute,
    kBeat,
    kBar,
    kBarBeat,
    kBeatsPerBar,
    kBeatUnit,
    kPositionKeyCount,
};

// The keys' values; a value counts only when its key's bit is set.
struct PositionKeys {
    std::array<double, kPositionKeyCount> values{};
    std::uint32_t present = 0;

    bool has(PositionKey key) const noexcept { return ((present >> key) & 1u) != 0; }
    double operator[](PositionKey key) const noexcept { return values[key]; }
};

class PositionReader {
public:
    // The caller has checked that the object's body lies in the buffer.
    PositionKeys read(const TimeUrids& urids, const LV2_Atom_Object& object) noexcept;

private:
    enum class Number : std::uint8_t { Double, Float, Long, Int };

    struct Property {
        std::uint32_t offset;
        LV2_URID key;
        // The value's atom header, size and type, as one word.
        std::uint64_t valueHeader;
        // kPositionKeyCount for a property not taken; then number means
        // nothing.
        PositionKey slot;
        Number number;
    };

    // Objects with more properties are always walked.
    static constexpr std::uint32_t kMaxProperties = 16;

    // The value's numeric type, none for a type that is no number or a body
    // too short for it.
    static std::optional<Number> numberOf(const TimeUrids& urids, const LV2_Atom& value) noexcept;
    static double valueOf(Number number, const LV2_Atom_Property_Body& property) noexcept;
    // The whole walk, keeping the object's layout.
    PositionKeys walk(const TimeUrids& urids, const LV2_Atom_Object& object) noexcept;
    // Reads the values straight from the last layout's offsets; false when
    // the object's size or a header differs (keys, then partly filled, are
    // left for a walk).
    bool readAsLast(const LV2_Atom_Object& object, PositionKeys& keys) const noexcept;

    // objectSize 0: no layout kept.
    std::uint32_t objectSize_ = 0;
    std::uint32_t propertyCount_ = 0;
    std::array<Property, kMaxProperties> properties_{};
};

}  // namespace slicecast
