// An effect as any plug-in format hosts it: what the scripted playback, the
// render tool and its pictures need of an effect, whatever its format.
// Values and times cross it in plain terms; each implementation (hosted/,
// over the format's own host in vst2/, lv2/, clap/, vst3/) tells them its
// format's way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block_time.h"

namespace pluginhost {

// One line of what a host sees of an effect: "Vendor", "J'x Tiv-nar".
struct EffectFact {
    std::string name;
    std::string value;
};

struct ParameterRange {
    float minimum = 0.0f;
    float maximum = 1.0f;
    // Takes steps only (the effect rounds what it is sent).
    bool stepped = false;
    // The steps are the whole numbers of the range (LV2's integer ports,
    // CLAP's stepped parameters, VST 3's step counts); VST 2.4 tells no
    // step count.
    bool wholeNumbers = false;
};

enum class PluginFormat { Vst2, Lv2, Clap, Vst3 };

class HostedEffect {
public:
    virtual ~HostedEffect() = default;

    virtual PluginFormat format() const = 0;
    // What names the effect for good in its format: a VST 2.4 unique id (as
    // its four characters where they are printable, else in hex), an LV2
    // URI, a CLAP id, a VST 3 processor's class id (32 hex digits).
    virtual std::string identifier() = 0;

    // Where it was loaded from: a file, a folder or a URI.
    virtual std::string location() const = 0;
    virtual std::string name() = 0;
    // What `info` lists before the parameters, in order.
    virtual std::vector<EffectFact> facts() = 0;
    virtual std::int32_t inputCount() const = 0;
    virtual std::int32_t outputCount() const = 0;
    // Throws HostError unless this host can feed the effect audio of
    // channels channels (1 or 2) and take its output.
    virtual void requireRenderable(int channels) const = 0;

    // Made ready to process at this rate, in calls of at most maxFrames.
    virtual void activate(double sampleRate, std::int32_t maxFrames) = 0;

    // Parameters by index, their values in the format's own units: 0 to 1
    // for VST 2.4, the plain values (steps, percent) for LV2, CLAP and
    // VST 3.
    virtual std::int32_t parameterCount() = 0;
    virtual std::string parameterName(std::int32_t index) = 0;
    virtual std::string parameterLabel(std::int32_t index) = 0;
    // The text the effect shows for the parameter's current value.
    virtual std::string parameterDisplay(std::int32_t index) = 0;
    virtual ParameterRange parameterRange(std::int32_t index) = 0;
    virtual float parameter(std::int32_t index) = 0;
    // Takes effect from the next processing call on; parameter() reads it
    // back at once.
    virtual void setParameter(std::int32_t index, float value) = 0;
    // The value a text stands for where the format itself reads texts (a
    // number in range, a step's label); none where it cannot tell.
    virtual std::optional<float> parameterFromText(std::int32_t index, std::string_view text) = 0;

    // The effect's presets by name, as its format lists them to a host's
    // preset menu (VST 3's program list, CLAP's preset discovery, LV2's
    // presets in label order); none for VST 2.4, whose programs are not
    // listed here.
    virtual std::vector<std::string> presetNames() = 0;
    // Loads the preset at index of that list the format's own way, before
    // any block or between two; the values it sets take effect from the
    // next processing call on, and parameter() reads them back at once.
    virtual void loadPreset(std::int32_t index) = 0;

    // One processing call of frames frames (at most the activated bound),
    // its transport told as time.
    virtual void process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) = 0;
    // The transport as the effect learns it from time in this format (a
    // position rounded to the format's resolution, or nothing where the
    // format sends nothing).
    virtual BlockTime told(const BlockTime& time) const = 0;
    // The columns --blocks-out gives to what a call was told, comma
    // separated, and their values for one call's told time.
    virtual std::string timeColumns() const = 0;
    virtual std::string timeFields(const BlockTime& told) const = 0;
};

}  // namespace pluginhost
