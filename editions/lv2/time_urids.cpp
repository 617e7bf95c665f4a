#include "time_urids.h"

#include <lv2/atom/atom.h>
#include <lv2/time/time.h>

namespace slicecast {

namespace {

LV2_URID mapUri(const LV2_URID_Map& map, const char* uri) noexcept { return map.map(map.handle, uri); }

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

}  // namespace slicecast
