#include "lv2_transport.h"

#include <cmath>
#include <optional>

#include <lv2/atom/util.h>

namespace slicecast {

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
    const PositionKeys keys = reader_.read(urids, *object);

    if (keys.has(kSpeed) && std::isfinite(keys[kSpeed])) speed_ = keys[kSpeed];
    if (keys.has(kBeatsPerMinute)) {
        tempo_ = keys[kBeatsPerMinute];
        tempoKnown_ = std::isfinite(tempo_) && tempo_ > 0.0;
    }
    if (keys.has(kBeatsPerBar)) beatsPerBar_ = keys[kBeatsPerBar];
    if (keys.has(kBeatUnit)) beatUnit_ = keys[kBeatUnit];

    std::optional<double> position;
    if (keys.has(kBeat)) {
        position = keys[kBeat] * 4.0 / beatUnit_;
    } else if (keys.has(kBar) && keys.has(kBarBeat)) {
        position = (keys[kBar] * beatsPerBar_ + keys[kBarBeat]) * 4.0 / beatUnit_;
    }
    if (position && std::isfinite(*position)) {
        position_ = *position;
        positionKnown_ = true;
    }
}

}  // namespace slicecast
