#include "lv2_transport.h"

#include <cmath>
#include <cstring>
#include <optional>

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

namespace slicecast {

namespace {

LV2_URID mapUri(const LV2_URID_Map& map, const char* uri) noexcept { return map.map(map.handle, uri); }

// The key's values, whatever numeric atom carries them.
struct PositionKeys {
    std::optional<double> speed;
    std::optional<double> beatsPerMinute;
    std::optional<double> beat;
    std::optional<double> bar;
    std::optional<double> barBeat;
    std::optional<double> beatsPerBar;
    std::optional<double> beatUnit;
};

template <typename Number>
std::optional<double> bodyAs(const LV2_Atom* value) noexcept {
    if (value->size < sizeof(Number)) return std::nullopt;
    Number number;
    std::memcpy(&number, LV2_ATOM_BODY_CONST(value), sizeof number);
    return static_cast<double>(number);
}

std::optional<double> numberOf(const TimeUrids& urids, const LV2_Atom* value) noexcept {
    if (value->type == 0) return std::nullopt;
    if (value->type == urids.atomDouble) return bodyAs<double>(value);
    if (value->type == urids.atomFloat) return bodyAs<float>(value);
    if (value->type == urids.atomLong) return bodyAs<std::int64_t>(value);
    if (value->type == urids.atomInt) return bodyAs<std::int32_t>(value);
    return std::nullopt;
}

std::optional<double>* slotFor(const TimeUrids& urids, PositionKeys& keys, LV2_URID key) noexcept {
    if (key == 0) return nullptr;
    if (key == urids.timeSpeed) return &keys.speed;
    if (key == urids.timeBeatsPerMinute) return &keys.beatsPerMinute;
    if (key == urids.timeBeat) return &keys.beat;
    if (key == urids.timeBar) return &keys.bar;
    if (key == urids.timeBarBeat) return &keys.barBeat;
    if (key == urids.timeBeatsPerBar) return &keys.beatsPerBar;
    if (key == urids.timeBeatUnit) return &keys.beatUnit;
    return nullptr;
}

// Reads the object's properties one by one, each only if its header and its
// value lie wholly within the object's body.
PositionKeys keysOf(const TimeUrids& urids, const LV2_Atom_Object* object) noexcept {
    PositionKeys keys;
    const auto* body = reinterpret_cast<const std::uint8_t*>(&object->body);
    const std::uint32_t size = object->atom.size;
    std::uint32_t offset = sizeof(LV2_Atom_Object_Body);
    while (offset <= size && size - offset >= sizeof(LV2_Atom_Property_Body)) {
        const auto* property = reinterpret_cast<const LV2_Atom_Property_Body*>(body + offset);
        const std::uint32_t valueRoom = size - offset - static_cast<std::uint32_t>(sizeof(LV2_Atom_Property_Body));
        if (property->value.size > valueRoom) break;
        if (auto* slot = slotFor(urids, keys, property->key)) {
            if (const auto number = numberOf(urids, &property->value)) *slot = number;
        }
        const std::uint64_t next = static_cast<std::uint64_t>(offset) + sizeof(LV2_Atom_Property_Body) +
                                   lv2_atom_pad_size(property->value.size);
        if (next > size) break;
        offset = static_cast<std::uint32_t>(next);
    }
    return keys;
}

}  // namespace

TimeUrids TimeUrids::mapped(const LV2_URID_Map& map) noexcept {
    TimeUrids urids;
    urids.atomBlank = mapUri(map, LV2_ATOM__Blank);
    urids.atomObject = mapUri(map, LV2_ATOM__Object);
    urids.atomSequence = mapUri(map, LV2_ATOM__Sequence);
    urids.atomFrameTime = mapUri(map, LV2_ATOM__frameTime);
    urids.atomInt = mapUri(map, LV2_ATOM__Int);
    urids.atomLong = mapUri(map, LV2_ATOM__Long);
    urids.atomFloat = mapUri(map, LV2_ATOM__Float);
    urids.atomDouble = mapUri(map, LV2_ATOM__Double);
    urids.timePosition = mapUri(map, LV2_TIME__Position);
    urids.timeSpeed = mapUri(map, LV2_TIME__speed);
    urids.timeBeatsPerMinute = mapUri(map, LV2_TIME__beatsPerMinute);
    urids.timeBeat = mapUri(map, LV2_TIME__beat);
    urids.timeBar = mapUri(map, LV2_TIME__bar);
    urids.timeBarBeat = mapUri(map, LV2_TIME__barBeat);
    urids.timeBeatsPerBar = mapUri(map, LV2_TIME__beatsPerBar);
    urids.timeBeatUnit = mapUri(map, LV2_TIME__beatUnit);
    return urids;
}

Lv2Transport::Lv2Transport(const LV2_URID_Map* map) noexcept
    : urids_(map != nullptr ? TimeUrids::mapped(*map) : TimeUrids{}) {}

void Lv2Transport::playBlock(const LV2_Atom_Sequence* control, std::uint32_t frames, StretchPlayer& player) noexcept {
    // Most blocks come with an empty sequence (nothing changed): they play
    // whole, without the walk's set-up.
    const std::uint32_t played = holdsEvents(control) ? playEvents(*control, frames, player) : 0;
    play(played, frames, player);
}

bool Lv2Transport::holdsEvents(const LV2_Atom_Sequence* control) const noexcept {
    const bool readable = control != nullptr && urids_.atomSequence != 0 &&
                          control->atom.type == urids_.atomSequence &&
                          control->atom.size >= sizeof(LV2_Atom_Sequence_Body);
    // Events timed in anything but frames (a sequence in beats) cannot be
    // placed in the block; such a sequence is ignored as a whole.
    return readable && (control->body.unit == 0 || control->body.unit == urids_.atomFrameTime) &&
           control->atom.size - sizeof(LV2_Atom_Sequence_Body) >= sizeof(LV2_Atom_Event);
}

std::uint32_t Lv2Transport::playEvents(const LV2_Atom_Sequence& control, std::uint32_t frames,
                                       StretchPlayer& player) noexcept {
    std::uint32_t played = 0;
    const auto* body = reinterpret_cast<const std::uint8_t*>(&control.body);
    const std::uint32_t size = control.atom.size;
    std::uint32_t offset = sizeof(LV2_Atom_Sequence_Body);
    while (offset <= size && size - offset >= sizeof(LV2_Atom_Event)) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(body + offset);
        const std::uint32_t room = size - offset - static_cast<std::uint32_t>(sizeof(LV2_Atom_Event));
        if (event->body.size > room) break;
        const std::int64_t at = event->time.frames;
        const std::uint32_t frame =
            (at < static_cast<std::int64_t>(played) || at > static_cast<std::int64_t>(frames))
                ? frames
                : static_cast<std::uint32_t>(at);
        play(played, frame, player);
        played = frame;
        apply(&event->body);
        const std::uint64_t next =
            static_cast<std::uint64_t>(offset) + sizeof(LV2_Atom_Event) + lv2_atom_pad_size(event->body.size);
        if (next > size) break;
        offset = static_cast<std::uint32_t>(next);
    }
    return played;
}

void Lv2Transport::play(std::uint32_t from, std::uint32_t to, StretchPlayer& player) noexcept {
    if (to <= from) return;
    const double beatStep =
        player.playStretch(from, to, {positionKnown_, position_, tempoKnown_, tempo_});
    if (positionKnown_) position_ = position_ + (static_cast<double>(to - from) * beatStep) * speed_;
}

void Lv2Transport::apply(const LV2_Atom* atom) noexcept {
    const TimeUrids& urids = urids_;
    if (urids.timePosition == 0) return;
    if (atom->type != urids.atomObject && atom->type != urids.atomBlank) return;
    if (atom->size < sizeof(LV2_Atom_Object_Body)) return;
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(atom);
    if (object->body.otype != urids.timePosition) return;
    const PositionKeys keys = keysOf(urids, object);

    if (keys.speed && std::isfinite(*keys.speed)) speed_ = *keys.speed;
    if (keys.beatsPerMinute) {
        tempo_ = *keys.beatsPerMinute;
        tempoKnown_ = std::isfinite(tempo_) && tempo_ > 0.0;
    }
    if (keys.beatsPerBar) beatsPerBar_ = *keys.beatsPerBar;
    if (keys.beatUnit) beatUnit_ = *keys.beatUnit;

    std::optional<double> position;
    if (keys.beat) {
        position = *keys.beat * 4.0 / beatUnit_;
    } else if (keys.bar && keys.barBeat) {
        position = (*keys.bar * beatsPerBar_ + *keys.barBeat) * 4.0 / beatUnit_;
    }
    if (position && std::isfinite(*position)) {
        position_ = *position;
        positionKnown_ = true;
    }
}

}  // namespace slicecast
