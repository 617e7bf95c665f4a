// An LV2 plug-in as a host finds it, through lilv: from a bundle folder
// (only that bundle is read) or from its URI (looked up in LV2_PATH, else
// the system's LV2 folders), with its name and its ports.
//
//   lv2host::Lv2Plugin plugin("build/lv2/slicecast.lv2");   // or its URI
//   for (const auto& port : plugin.ports()) ...              // symbol, kind, range
//   lv2host::Lv2Instance effect(plugin, 48000.0);          // lv2_instance.h
//   effect.setControl("mix", 50.0f);
//   effect.run({inL, inR, outL, outR}, frames,              // a block, with the
//              {lv2host::dawPosition(frame, true, quarterNotes, 120.0)});  // DAW's time
//
// Linux only, like lilv in this project's build.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lv2host {

// Anything that keeps a host from using a plug-in; what() is a one-line
// message meant for the user.
class Lv2HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScalePoint {
    float value;
    std::string label;
};

struct PortInfo {
    enum class Kind { AudioInput, AudioOutput, ControlInput, ControlOutput, AtomInput, AtomOutput, Other };

    std::uint32_t index = 0;
    std::string symbol;
    std::string name;
    Kind kind = Kind::Other;
    // Not a number where the plug-in gives none.
    float minimum = std::numeric_limits<float>::quiet_NaN();
    float maximum = std::numeric_limits<float>::quiet_NaN();
    float defaultValue = std::numeric_limits<float>::quiet_NaN();
    bool integer = false;
    bool enumeration = false;
    bool connectionOptional = false;
    std::vector<ScalePoint> scalePoints;  // in the order of their values
};

// "audio in", "control in", "atom out", ...
std::string kindName(PortInfo::Kind kind);

// A pset:Preset that applies to the plug-in, as the host's preset menu
// lists it.
struct PresetInfo {
    std::string uri;
    std::string label;
};

// One port value a preset sets.
struct PresetPortValue {
    std::string symbol;
    float value;
};

class Lv2Plugin {
public:
    // bundleOrUri: a bundle folder (it must contain manifest.ttl) or a
    // plug-in URI. A bundle with several plug-ins gives its first. Throws
    // Lv2HostError when there is no such plug-in.
    explicit Lv2Plugin(const std::string& bundleOrUri);
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin&) = delete;
    Lv2Plugin& operator=(const Lv2Plugin&) = delete;

    const std::string& uri() const { return uri_; }
    const std::string& name() const { return name_; }
    const std::vector<PortInfo>& ports() const { return ports_; }
    // The port with that symbol; throws Lv2HostError if there is none.
    const PortInfo& port(const std::string& symbol) const;
    // The features the plug-in lists as required and as optional.
    const std::vector<std::string>& requiredFeatures() const { return requiredFeatures_; }
    const std::vector<std::string>& optionalFeatures() const { return optionalFeatures_; }
    // The presets in the order of their labels, as lilv's tools list them
    // (LV2 gives presets no order of their own).
    const std::vector<PresetInfo>& presets() const { return presets_; }
    // The port values of a preset, read as hosts load one: its state from
    // the world, emitted port by port. Throws Lv2HostError when it has no
    // state.
    std::vector<PresetPortValue> presetValues(const std::string& presetUri) const;

    // lilv's own handles, for Lv2Instance.
    struct World;
    const World& world() const { return *world_; }

private:
    std::unique_ptr<World> world_;
    std::string uri_;
    std::string name_;
    std::vector<PortInfo> ports_;
    std::vector<std::string> requiredFeatures_;
    std::vector<std::string> optionalFeatures_;
    std::vector<PresetInfo> presets_;
};

}  // namespace lv2host
