#include "position_reader.h"

#include <cstring>
#include <optional>

#include <lv2/atom/util.h>

namespace slicecast {

namespace {

std::uint64_t valueHeaderOf(const LV2_Atom_Property_Body& property) noexcept {
    static_assert(sizeof(LV2_Atom) == sizeof(std::uint64_t));
    std::uint64_t header;
    std::memcpy(&header, &property.value, sizeof header);
    return header;
}

PositionKey slotOf(const TimeUrids& urids, LV2_URID key) noexcept {
    if (key == 0) return kPositionKeyCount;
    if (key == urids.timeSpeed) return kSpeed;
    if (key == urids.timeBeatsPerMinute) return kBeatsPerMinute;
    if (key == urids.timeBeat) return kBeat;
    if (key == urids.timeBar) return kBar;
    if (key == urids.timeBarBeat) return kBarBeat;
    if (key == urids.timeBeatsPerBar) return kBeatsPerBar;
    if (key == urids.timeBeatUnit) return kBeatUnit;
    return kPositionKeyCount;
}

template <typename Number>
double bodyAs(const LV2_Atom_Property_Body& property) noexcept {
    Number number;
    std::memcpy(&number, LV2_ATOM_BODY_CONST(&property.value), sizeof number);
    return static_cast<double>(number);
}

}  // namespace

PositionKeys PositionReader::read(const TimeUrids& urids, const LV2_Atom_Object& object) noexcept {
    PositionKeys keys;
    if (readAsLast(object, keys)) return keys;
    return walk(urids, object);
}

std::optional<PositionReader::Number> PositionReader::numberOf(const TimeUrids& urids, const LV2_Atom& value) noexcept {
    // The first type that matches decides; a body too short for it is no
    // number.
    const auto fits = [&value](std::size_t bytes) { return value.size >= bytes; };
    if (value.type == 0) return std::nullopt;
    if (value.type == urids.atomDouble) return fits(sizeof(double)) ? std::optional(Number::Double) : std::nullopt;
    if (value.type == urids.atomFloat) return fits(sizeof(float)) ? std::optional(Number::Float) : std::nullopt;
    if (value.type == urids.atomLong) return fits(sizeof(std::int64_t)) ? std::optional(Number::Long) : std::nullopt;
    if (value.type == urids.atomInt) return fits(sizeof(std::int32_t)) ? std::optional(Number::Int) : std::nullopt;
    return std::nullopt;
}

double PositionReader::valueOf(Number number, const LV2_Atom_Property_Body& property) noexcept {
    switch (number) {
        case Number::Double: return bodyAs<double>(property);
        case Number::Float: return bodyAs<float>(property);
        case Number::Long: return bodyAs<std::int64_t>(property);
        case Number::Int: break;
    }
    return bodyAs<std::int32_t>(property);
}

PositionKeys PositionReader::walk(const TimeUrids& urids, const LV2_Atom_Object& object) noexcept {
    PositionKeys keys;
    const auto* body = reinterpret_cast<const std::uint8_t*>(&object.body);
    const std::uint32_t size = object.atom.size;
    std::uint32_t count = 0;
    std::uint32_t offset = sizeof(LV2_Atom_Object_Body);
    while (offset <= size && size - offset >= sizeof(LV2_Atom_Property_Body)) {
        const auto& property = *reinterpret_cast<const LV2_Atom_Property_Body*>(body + offset);
        Property seen{offset, property.key, valueHeaderOf(property), kPositionKeyCount, Number::Double};
        const std::uint32_t valueRoom = size - offset - static_cast<std::uint32_t>(sizeof(LV2_Atom_Property_Body));
        const bool fits = property.value.size <= valueRoom;
        if (fits) {
            const PositionKey slot = slotOf(urids, property.key);
            if (const auto number = slot != kPositionKeyCount ? numberOf(urids, property.value) : std::nullopt) {
                keys.values[slot] = valueOf(*number, property);
                keys.present |= 1u << slot;
                seen.slot = slot;
                seen.number = *number;
            }
        }
        if (count < kMaxProperties) properties_[count] = seen;
        ++count;
        if (!fits) break;
        const std::uint64_t next = static_cast<std::uint64_t>(offset) + sizeof(LV2_Atom_Property_Body) +
                                   lv2_atom_pad_size(property.value.size);
        if (next > size) break;
        offset = static_cast<std::uint32_t>(next);
    }
    propertyCount_ = count;
    objectSize_ = count <= kMaxProperties ? size : 0;
    return keys;
}

bool PositionReader::readAsLast(const LV2_Atom_Object& object, PositionKeys& keys) const noexcept {
    if (objectSize_ == 0 || object.atom.size != objectSize_) return false;
    const auto* body = reinterpret_cast<const std::uint8_t*>(&object.body);
    for (std::uint32_t index = 0; index < propertyCount_; ++index) {
        const Property& known = properties_[index];
        const auto& property = *reinterpret_cast<const LV2_Atom_Property_Body*>(body + known.offset);
        if (property.key != known.key || valueHeaderOf(property) != known.valueHeader) return false;
        if (known.slot == kPositionKeyCount) continue;
        keys.values[known.slot] = valueOf(known.number, property);
        keys.present |= 1u << known.slot;
    }
    return true;
}

}  // namespace slicecast
