#include "lv2_effect.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "shared_library.h"

namespace pluginhost {

namespace {

using lv2host::PortInfo;

// The shortest text that reads back to the same bits, in the width the
// event carries.
std::string exact(const lv2host::TimeValue& number) {
    char text[32];
    const bool single = number.type == lv2host::TimeValue::Type::Float;
    const auto result = single ? std::to_chars(text, text + sizeof(text), static_cast<float>(number.value))
                               : std::to_chars(text, text + sizeof(text), number.value);
    return std::string(text, result.ptr);
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return text;
}

bool sameLabel(std::string_view label, std::string_view text) {
    const auto trim = [](std::string_view s) {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
        return s;
    };
    label = trim(label);
    text = trim(text);
    return std::equal(label.begin(), label.end(), text.begin(), text.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// A port's default, else its minimum, else 0.
float startValue(const PortInfo& port) {
    if (std::isfinite(port.defaultValue)) return port.defaultValue;
    return std::isfinite(port.minimum) ? port.minimum : 0.0f;
}

std::string kindText(const PortInfo& port) {
    std::string text = lv2host::kindName(port.kind);
    if (port.kind != PortInfo::Kind::ControlInput && port.kind != PortInfo::Kind::ControlOutput) return text;
    text += ", " + number(port.minimum) + " to " + number(port.maximum) + ", default " + number(port.defaultValue);
    if (port.integer) text += ", integer";
    if (port.enumeration) text += ", enumeration";
    for (std::size_t i = 0; i < port.scalePoints.size(); ++i) {
        text += (i == 0 ? ": " : ", ") + number(port.scalePoints[i].value) + " = " + port.scalePoints[i].label;
    }
    return text;
}

std::string listed(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += (list.empty() ? "" : ", ") + item;
    return list.empty() ? "none" : list;
}

}  // namespace

Lv2Effect::Lv2Effect(const std::string& bundleOrUri) : location_(bundleOrUri), plugin_(bundleOrUri) {
    for (const PortInfo& info : plugin_.ports()) {
        if (info.kind != PortInfo::Kind::ControlInput) continue;
        controls_.push_back(info.index);
        values_.push_back(startValue(info));
    }
}

const PortInfo& Lv2Effect::port(std::int32_t index) const {
    return plugin_.ports().at(controls_.at(static_cast<std::size_t>(index)));
}

std::int32_t Lv2Effect::audioPorts(PortInfo::Kind kind) const {
    return static_cast<std::int32_t>(std::count_if(plugin_.ports().begin(), plugin_.ports().end(),
                                                   [kind](const PortInfo& info) { return info.kind == kind; }));
}

std::vector<EffectFact> Lv2Effect::facts() {
    std::vector<EffectFact> facts{
        {"URI", plugin_.uri()},
        {"Name", plugin_.name()},
        {"Inputs", std::to_string(inputCount())},
        {"Outputs", std::to_string(outputCount())},
        {"Required", listed(plugin_.requiredFeatures())},
        {"Optional", listed(plugin_.optionalFeatures())},
        {"Ports", std::to_string(plugin_.ports().size())},
    };
    for (const PortInfo& info : plugin_.ports()) {
        facts.push_back({"Port " + std::to_string(info.index), info.symbol + " \"" + info.name + "\", " + kindText(info)});
    }
    return facts;
}

void Lv2Effect::requireRenderable(int channels) const {
    // Lv2Instance takes stereo effects only, and a mono file is fed to both
    // inputs.
    if (inputCount() != 2 || outputCount() != 2 || channels < 1 || channels > 2) {
        throw HostError(plugin_.uri() + " has " + std::to_string(inputCount()) + " audio inputs and " +
                        std::to_string(outputCount()) + " outputs; this host feeds LV2 effects with 2 of each");
    }
}

void Lv2Effect::activate(double sampleRate, std::int32_t) {
    instance_ = std::make_unique<lv2host::Lv2Instance>(plugin_, sampleRate);
    for (std::size_t i = 0; i < controls_.size(); ++i) instance_->setControl(controls_[i], values_[i]);
    instance_->activate();
}

std::string Lv2Effect::parameterDisplay(std::int32_t index) {
    const float value = parameter(index);
    for (const lv2host::ScalePoint& point : port(index).scalePoints) {
        if (point.value == value) return point.label;
    }
    return number(value);
}

ParameterRange Lv2Effect::parameterRange(std::int32_t index) {
    const PortInfo& info = port(index);
    // A port without bounds takes any number.
    const float lowest = std::numeric_limits<float>::lowest();
    const float highest = std::numeric_limits<float>::max();
    return {std::isfinite(info.minimum) ? info.minimum : lowest, std::isfinite(info.maximum) ? info.maximum : highest,
            info.integer || info.enumeration, info.integer};
}

void Lv2Effect::setParameter(std::int32_t index, float value) {
    values_.at(static_cast<std::size_t>(index)) = value;
    if (instance_) instance_->setControl(controls_[static_cast<std::size_t>(index)], value);
}

std::optional<float> Lv2Effect::parameterFromText(std::int32_t index, std::string_view text) {
    for (const lv2host::ScalePoint& point : port(index).scalePoints) {
        if (sameLabel(point.label, text)) return point.value;
    }
    return std::nullopt;
}

void Lv2Effect::process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) {
    if (!instance_) throw HostError("the LV2 plug-in was not activated before its first block");
    events_.clear();
    if (time.positionValid) {
        events_.push_back(lv2host::dawPosition(static_cast<std::int64_t>(time.samplePosition), time.playing,
                                              time.position, time.tempo, time.beatsPerBar, time.beatUnit));
    }
    instance_->run({inputs[0], inputs[1], outputs[0], outputs[1]}, static_cast<std::uint32_t>(frames), events_);
}

BlockTime Lv2Effect::told(const BlockTime& time) const {
    BlockTime told = time;
    if (!time.positionValid) told.tempoValid = false;
    return told;
}

std::string Lv2Effect::timeColumns() const {
    return "frame,speed,beat,bar,bar_beat,beats_per_bar,beat_unit,beats_per_minute";
}

std::string Lv2Effect::timeFields(const BlockTime& told) const {
    if (!told.positionValid) return ",,,,,,,";
    const lv2host::TimePosition event = lv2host::dawPosition(static_cast<std::int64_t>(told.samplePosition),
                                                             told.playing, told.position, told.tempo,
                                                             told.beatsPerBar, told.beatUnit);
    return exact(*event.frame) + ',' + exact(*event.speed) + ',' + exact(*event.beat) + ',' + exact(*event.bar) +
           ',' + exact(*event.barBeat) + ',' + exact(*event.beatsPerBar) + ',' + exact(*event.beatUnit) + ',' +
           exact(*event.beatsPerMinute);
}

std::vector<std::string> Lv2Effect::presetNames() {
    std::vector<std::string> names;
    for (const lv2host::PresetInfo& preset : plugin_.presets()) names.push_back(preset.label);
    return names;
}

void Lv2Effect::loadPreset(std::int32_t index) {
    const lv2host::PresetInfo& preset = plugin_.presets().at(static_cast<std::size_t>(index));
    for (const lv2host::PresetPortValue& value : plugin_.presetValues(preset.uri)) {
        const std::uint32_t port = plugin_.port(value.symbol).index;
        const auto control = std::find(controls_.begin(), controls_.end(), port);
        if (control == controls_.end())
            throw lv2host::Lv2HostError("the preset '" + preset.label + "' sets '" + value.symbol +
                                        "', which is no control input");
        setParameter(static_cast<std::int32_t>(control - controls_.begin()), value.value);
    }
}

}  // namespace pluginhost
