// The URIDs the LV2 edition reads its control port's events with.
#pragma once

#include <lv2/urid/urid.h>

namespace slicecast {

// All 0 without urid:map.
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

}  // namespace slicecast
