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

namespace slicecast {

// The URIDs a time:Position is read with; all 0 without urid:map.
struct TimeUrids {
    LV2_URID atomBlank = 0;
    LV2_URID atomObject = 0;
    LV2_URID atomSequence = 0;
    LV2_URID atomFrameTime = 0;
    LV2_URID atomInt = 0;
    LV2_URID atomLong = 0;
    LV2_URID atomFloat = 0;
    LV2_URID atomDouble = 0;
    LV2_URID timePosition = 0;
    LV2_URID timeSpeed = 0;
    LV2_URID timeBeatsPerMinute = 0;
    LV2_URID timeBeat = 0;
    LV2_URID timeBar = 0;
    LV2_URID timeBarBeat = 0;
    LV2_URID timeBeatsPerBar = 0;
    LV2_URID timeBeatUnit = 0;

    static TimeUrids mapped(const LV2_URID_Map& map) noexcept;
};

class Lv2Transport {
public:
    // Takes in one time:Position object (atom:Object or atom:Blank). The
    // caller has checked that the atom's whole body (atom->size bytes) lies
    // in the buffer; a property that would run past it ends the reading.
    // Any other atom is ignored.
    void apply(const TimeUrids& urids, const LV2_Atom* atom) noexcept;

    // The transport for the next stretch of frames.
    BlockTransport blockTransport() const noexcept { return {positionKnown_, position_, tempoKnown_, tempo_}; }

    // After a stretch of frames the sound played with beatStep quarter notes
    // per sample: position + (frames x beatStep) x speed, in that order, so
    // that at speed 1 it lands where the sound's own count lands.
    void advance(std::int32_t frames, double beatStep) noexcept;

private:
    double speed_ = 1.0;
    bool tempoKnown_ = false;
    double tempo_ = kDefaultTempo;
    bool positionKnown_ = false;
    double position_ = 0.0;
    double beatsPerBar_ = 4.0;
    double beatUnit_ = 4.0;
};

}  // namespace slicecast
