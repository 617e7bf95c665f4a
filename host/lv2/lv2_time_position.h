// time:Position events as an LV2 host sends them on a plug-in's control
// port: any subset of the keys, each in any numeric atom type, at an offset
// in the block. Plain data; lv2_event_sequence.h turns a list of them into
// the atom sequence a plug-in reads.
#pragma once

#include <cstdint>
#include <optional>

namespace lv2host {

// A number and the atom type that carries it.
struct TimeValue {
    enum class Type { Int, Long, Float, Double };
    Type type = Type::Double;
    double value = 0.0;

    static TimeValue ofInt(std::int32_t v) { return {Type::Int, static_cast<double>(v)}; }
    static TimeValue ofLong(std::int64_t v) { return {Type::Long, static_cast<double>(v)}; }
    static TimeValue ofFloat(float v) { return {Type::Float, static_cast<double>(v)}; }
    static TimeValue ofDouble(double v) { return {Type::Double, v}; }
};

struct TimePosition {
    // Frame of the block the event is timed at (the event's time, not a key).
    std::int64_t offset = 0;
    // Written as atom:Blank, as older hosts do, instead of atom:Object.
    bool asBlank = false;
    // The keys, in this order when present.
    std::optional<TimeValue> frame;           // time:frame
    std::optional<TimeValue> speed;           // time:speed
    std::optional<TimeValue> beat;            // time:beat
    std::optional<TimeValue> bar;             // time:bar
    std::optional<TimeValue> barBeat;         // time:barBeat
    std::optional<TimeValue> beatsPerBar;     // time:beatsPerBar
    std::optional<TimeValue> beatUnit;        // time:beatUnit
    std::optional<TimeValue> beatsPerMinute;  // time:beatsPerMinute
};

// A DAW's transport at the start of a block, every key in the types hosts
// commonly use: frame Long, speed Float, beat Double, bar Long, barBeat
// Float, beatsPerBar Float, beatUnit Int, beatsPerMinute Double. position is
// in quarter notes; the bar and beat within it follow from the metre.
TimePosition dawPosition(std::int64_t sampleFrame, bool playing, double position, double tempo,
                         std::int32_t beatsPerBar = 4, std::int32_t beatUnit = 4);

}  // namespace lv2host
