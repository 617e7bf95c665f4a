#include "lv2_effect.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <lv2/atom/util.h>
#include <cstring>
#include <utility>
#include <limits>

#include "shared_library.h"
#include "ui_loop.h"

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
    const std::lock_guard<std::mutex> lock(editorMutex_);
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
    const std::lock_guard<std::mutex> lock(editorMutex_);
    instance_->run({inputs[0], inputs[1], outputs[0], outputs[1]}, static_cast<std::uint32_t>(frames), events_,
                   atomsForPlugin_);
    atomsForPlugin_.clear();
    if (editor_ == nullptr) return;
    // The events of the atom output, each a whole atom, for the editor.
    const LV2_Atom_Sequence* output = instance_->atomOutput();
    if (output == nullptr) return;
    LV2_ATOM_SEQUENCE_FOREACH (output, event) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&event->body);
        eventsForEditor_.emplace_back(bytes, bytes + lv2_atom_total_size(&event->body));
    }
}

// ---------------------------------------------------------------- editor

struct Lv2Effect::Editor {
    UiLoop& loop;
    std::uint32_t timer = 0;
    std::unique_ptr<lv2host::Lv2Ui> ui;
    // The values the editor was last told, by control.
    std::vector<float> told;
    std::uint32_t notifyPort = 0;
};

namespace {

// What an LV2 host gives an editor's atom outputs, and how often it runs it.
constexpr std::uint32_t kAtomOutputBytes = 65536;
constexpr std::int32_t kEditorTickMilliseconds = 30;

}  // namespace

std::optional<std::pair<std::int32_t, std::int32_t>> Lv2Effect::openEditor(std::uintptr_t parent, UiLoop& loop,
                                                                           double scale) {
    if (!instance_) throw HostError("the LV2 plug-in must be activated before its editor opens");
    closeEditor();
    const std::string uiClass = std::string_view(hostWindowSystem()) == "x11"
                                    ? "http://lv2plug.in/ns/extensions/ui#X11UI"
                                    : "http://lv2plug.in/ns/extensions/ui#WindowsUI";
    if (!lv2host::Lv2Ui::available(plugin_, uiClass)) return std::nullopt;
    auto editor = std::make_unique<Editor>(Editor{loop, 0, nullptr, {}, 0});
    {
        const std::lock_guard<std::mutex> lock(editorMutex_);
        instance_->connectAtomOutputs(kAtomOutputBytes);
    }
    editor->ui = std::make_unique<lv2host::Lv2Ui>(
        plugin_, uiClass, parent, instance_->uridMap(), scale,
        lv2host::Lv2UiCallbacks{[this](std::uint32_t port, std::uint32_t size, std::uint32_t format,
                                       const void* buffer) { uiWrote(port, size, format, buffer); },
                                [this](std::uint32_t port, bool grabbed) { uiTouched(port, grabbed); }});
    // As hosts do right after instantiating: every control's value.
    for (std::size_t i = 0; i < controls_.size(); ++i) editor->ui->portEvent(controls_[i], sizeof(float), 0, &values_[i]);
    editor->told = values_;
    for (const lv2host::PortInfo& port : plugin_.ports()) {
        if (port.kind == lv2host::PortInfo::Kind::AtomOutput) editor->notifyPort = port.index;
    }
    editor->timer = loop.addTimer(kEditorTickMilliseconds, [this](std::uint32_t) { tickEditor(); });
    editor_ = std::move(editor);
    // The size the UI asked for through ui:resize; none where it asked for none.
    const auto size = editor_->ui->requestedSize();
    return std::pair{size.first, size.second};
}

Lv2Effect::~Lv2Effect() { closeEditor(); }

void Lv2Effect::closeEditor() {
    if (editor_ == nullptr) return;
    editor_->loop.removeTimer(editor_->timer);
    editor_->ui.reset();
    const std::lock_guard<std::mutex> lock(editorMutex_);
    editor_.reset();
    eventsForEditor_.clear();
}

std::vector<EditorReport> Lv2Effect::takeEditorReports() {
    const std::lock_guard<std::mutex> lock(editorMutex_);
    return std::exchange(reports_, {});
}

std::optional<std::int32_t> Lv2Effect::indexOfControl(std::uint32_t port) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == port) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

void Lv2Effect::uiWrote(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
    const std::lock_guard<std::mutex> lock(editorMutex_);
    if (format == 0 && size == sizeof(float)) {
        const std::optional<std::int32_t> index = indexOfControl(port);
        if (!index) return;
        float value = 0.0f;
        std::memcpy(&value, buffer, sizeof value);
        values_[static_cast<std::size_t>(*index)] = value;
        instance_->setControl(port, value);
        // The editor knows what it wrote.
        if (editor_ != nullptr) editor_->told[static_cast<std::size_t>(*index)] = value;
        reports_.push_back({EditorReport::Kind::value, *index, value});
    } else if (format == instance_->uridMap().map(LV2_ATOM__eventTransfer) && size >= sizeof(LV2_Atom)) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        atomsForPlugin_.emplace_back(bytes, bytes + size);
    }
}

void Lv2Effect::uiTouched(std::uint32_t port, bool grabbed) {
    const std::optional<std::int32_t> index = indexOfControl(port);
    if (!index) return;
    const std::lock_guard<std::mutex> lock(editorMutex_);
    reports_.push_back({grabbed ? EditorReport::Kind::begin : EditorReport::Kind::end, *index, 0.0f});
}

void Lv2Effect::tickEditor() {
    std::vector<std::vector<std::uint8_t>> events;
    std::vector<std::pair<std::uint32_t, float>> changed;
    {
        const std::lock_guard<std::mutex> lock(editorMutex_);
        events.swap(eventsForEditor_);
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            if (values_[i] == editor_->told[i]) continue;
            editor_->told[i] = values_[i];
            changed.emplace_back(controls_[i], values_[i]);
        }
    }
    const std::uint32_t eventTransfer = instance_->uridMap().map(LV2_ATOM__eventTransfer);
    for (const auto& [port, value] : changed) editor_->ui->portEvent(port, sizeof value, 0, &value);
    for (const std::vector<std::uint8_t>& event : events) {
        editor_->ui->portEvent(editor_->notifyPort, static_cast<std::uint32_t>(event.size()), eventTransfer,
                               event.data());
    }
    editor_->ui->idle();
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
