// The LV2 host's musical time, kept by the edition itself. LV2 hosts send
// time:Position objects only when their transport changes (Ardour: one at
// the start of every rolling cycle, none while stopped; lv2apply: none at
// all), so between events the edition must carry the position on by itself,
// with the sound's own step, so that a host that sends one position and
// then rolls sounds bit for bit like a VST 2.4 host asked every block.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include "block_transport.h"
#include "position_reader.h"
#include "time_urids.h"

namespace slicecast {

// What the transport drives through a block: the sound, one stretch of
// frames at a time.
class StretchPlayer {
public:
    // Plays the frames from..to (to > from) of the block with transport;
    // answers the quarter notes per sample it moved by (0: none).
    virtual double playStretch(std::uint32_t from, std::uint32_t to, const BlockTransport& transport) noexcept = 0;

protected:
    ~StretchPlayer() = default;
};

// The rule, in full:
// 1. The control port's events are taken in time order; before an event at
//    frame k the frames not yet played up to k are played with the
//    transport as it stands, then the event applies. An offset before the
//    previous one, or beyond the block, counts as the block's end.
// 2. A time:Position's keys come in any numeric atom type, any subset of
//    them: speed and tempo replace the last ones (speed 1 until one comes;
//    the tempo is known while finite and above 0); the position is
//    beat x 4 / beatUnit, else (bar x beatsPerBar + barBeat) x 4 /
//    beatUnit, with the metre of the same event, else the last received,
//    else 4/4; a result that is not finite is ignored.
// 3. After each stretch of n frames, a known position moves on by
//    (n x step) x speed, step being the sound's own for the stretch: at
//    speed 1 exactly where the sound's count goes, held at speed 0.
// 4. Until a position comes, none is known and the sound counts by itself.
// Activation changes none of it: a host that re-activates while stopped
// sends nothing new.
class Lv2Transport {
public:
    // map may be null: then no event is read.
    explicit Lv2Transport(const LV2_URID_Map* map) noexcept;

    // One block of frames frames, cut at the events of control (null: no
    // events). Every event and property is read only if it lies wholly
    // within the sequence's own size.
    void playBlock(const LV2_Atom_Sequence* control, std::uint32_t frames, StretchPlayer& player) noexcept;

private:
    // Whether control is a sequence in frames with room for an event.
    bool holdsEvents(const LV2_Atom_Sequence* control) const noexcept;
    // Plays the block up to its last event, applying each; answers the
    // frames played.
    std::uint32_t playEvents(const LV2_Atom_Sequence& control, std::uint32_t frames, StretchPlayer& player) noexcept;
    // Takes in one event's atom, if it is a time:Position (atom:Object or
    // atom:Blank); the caller has checked that its body lies in the buffer.
    void apply(const LV2_Atom* atom) noexcept;
    void play(std::uint32_t from, std::uint32_t to, StretchPlayer& player) noexcept;

    TimeUrids urids_;
    PositionReader reader_;
    double speed_ = 1.0;
    bool tempoKnown_ = false;
    double tempo_ = kDefaultTempo;
    bool positionKnown_ = false;
    double position_ = 0.0;
    double beatsPerBar_ = 4.0;
    double beatUnit_ = 4.0;
};

}  // namespace slicecast
