#include "clap_instance.h"

#include <cstring>

#include "clap_streams.h"

namespace claphost {

namespace {

const clap::PluginDescriptor& chosen(const ClapLibrary& library, const std::string& pluginId) {
    const std::vector<const clap::PluginDescriptor*> descriptors = library.descriptors();
    for (const clap::PluginDescriptor* descriptor : descriptors) {
        if (pluginId.empty() || (descriptor->id != nullptr && pluginId == descriptor->id)) return *descriptor;
    }
    throw HostError("no CLAP plug-in " + (pluginId.empty() ? std::string("at all") : "with id " + pluginId) +
                    " in " + library.path());
}

void require(bool condition, const char* what) {
    if (!condition) throw HostError(std::string("CLAP host misuse: ") + what);
}

}  // namespace

ClapInstance::ClapInstance(const ClapLibrary& library, const HostObject& host, const std::string& pluginId) {
    const clap::PluginFactory& factory = library.factory();
    const clap::PluginDescriptor& descriptor = chosen(library, pluginId);
    plugin_ = factory.createPlugin(&factory, host.host(), descriptor.id);
    if (plugin_ == nullptr) throw HostError(std::string("CLAP plug-in not created: ") + descriptor.id);
    if (!plugin_->init(plugin_)) {
        plugin_->destroy(plugin_);
        throw HostError(std::string("CLAP plug-in refused to initialise: ") + descriptor.id);
    }
}

ClapInstance::~ClapInstance() {
    closeEditor();
    if (processing_) stopProcessing();
    if (active_) deactivate();
    plugin_->destroy(plugin_);
}

bool ClapInstance::activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    require(!active_, "activate while active");
    require(minFrames >= 1 && minFrames <= maxFrames && maxFrames <= INT32_MAX, "activate with bad block bounds");
    active_ = plugin_->activate(plugin_, sampleRate, minFrames, maxFrames);
    minFrames_ = minFrames;
    maxFrames_ = maxFrames;
    return active_;
}

void ClapInstance::deactivate() {
    require(active_ && !processing_, "deactivate while inactive or processing");
    plugin_->deactivate(plugin_);
    active_ = false;
}

bool ClapInstance::startProcessing() {
    require(active_ && !processing_, "start_processing while inactive or processing");
    const HostObject::AudioThreadRole role;
    processing_ = plugin_->startProcessing(plugin_);
    return processing_;
}

void ClapInstance::stopProcessing() {
    require(processing_, "stop_processing while not processing");
    const HostObject::AudioThreadRole role;
    plugin_->stopProcessing(plugin_);
    processing_ = false;
}

void ClapInstance::reset() {
    require(active_, "reset while inactive");
    const HostObject::AudioThreadRole role;
    plugin_->reset(plugin_);
}

clap::ProcessStatus ClapInstance::process(const StereoBlock& block) {
    require(processing_, "process while not processing");
    require(block.frames >= minFrames_ && block.frames <= maxFrames_, "block outside the activated bounds");
    float* inputs[2] = {const_cast<float*>(block.inLeft), const_cast<float*>(block.inRight)};
    float* outputs[2] = {block.outLeft, block.outRight};
    const clap::AudioBuffer input{inputs, nullptr, 2, 0, 0};
    clap::AudioBuffer output{outputs, nullptr, 2, 0, 0};
    const EventList none;
    EventSink discarded;
    const EventSink& sink = block.outEvents != nullptr ? *block.outEvents : discarded;
    const clap::Process call{block.steadyTime,
                             block.frames,
                             block.transport,
                             &input,
                             &output,
                             1,
                             1,
                             (block.events != nullptr ? block.events : &none)->inputEvents(),
                             sink.outputEvents()};
    const HostObject::AudioThreadRole role;
    return plugin_->process(plugin_, &call);
}

std::vector<clap::AudioPortInfo> ClapInstance::audioPorts(bool input) const {
    const auto* ports = static_cast<const clap::PluginAudioPorts*>(extension(clap::kExtAudioPorts));
    if (ports == nullptr) return {};
    std::vector<clap::AudioPortInfo> found;
    const std::uint32_t count = ports->count(plugin_, input);
    for (std::uint32_t i = 0; i < count; ++i) {
        clap::AudioPortInfo info{};
        if (ports->get(plugin_, i, input, &info)) found.push_back(info);
    }
    return found;
}

const clap::PluginParams& ClapInstance::params() const {
    const auto* found = static_cast<const clap::PluginParams*>(extension(clap::kExtParams));
    if (found == nullptr) throw HostError("the CLAP plug-in has no parameters extension");
    return *found;
}

const clap::PluginState& ClapInstance::state() const {
    const auto* found = static_cast<const clap::PluginState*>(extension(clap::kExtState));
    if (found == nullptr) throw HostError("the CLAP plug-in has no state extension");
    return *found;
}

std::uint32_t ClapInstance::parameterCount() const { return params().count(plugin_); }

std::optional<clap::ParamInfo> ClapInstance::parameterInfo(std::uint32_t index) const {
    clap::ParamInfo info{};
    if (!params().getInfo(plugin_, index, &info)) return std::nullopt;
    return info;
}

std::optional<double> ClapInstance::parameterValue(clap::Id id) const {
    double value = 0.0;
    if (!params().getValue(plugin_, id, &value)) return std::nullopt;
    return value;
}

std::optional<std::string> ClapInstance::valueToText(clap::Id id, double value, std::uint32_t capacity) const {
    std::vector<char> text(capacity + 1, '\x7f');
    if (!params().valueToText(plugin_, id, value, text.data(), capacity)) return std::nullopt;
    // A text that fills the buffer without its NUL is not a text.
    const std::string written(text.data(), capacity);
    const std::size_t end = written.find('\0');
    if (end == std::string::npos) throw HostError("CLAP value_to_text wrote no terminating NUL");
    return written.substr(0, end);
}

std::optional<double> ClapInstance::textToValue(clap::Id id, const std::string& text) const {
    double value = 0.0;
    if (!params().textToValue(plugin_, id, text.c_str(), &value)) return std::nullopt;
    return value;
}

void ClapInstance::flush(const EventList& events, EventSink* out) {
    EventSink discarded;
    const EventSink& sink = out != nullptr ? *out : discarded;
    // On the audio thread while active, on the main thread otherwise.
    std::optional<HostObject::AudioThreadRole> role;
    if (active_) role.emplace();
    params().flush(plugin_, events.inputEvents(), sink.outputEvents());
}

std::optional<std::vector<std::uint8_t>> ClapInstance::saveState(std::uint64_t bytesPerCall) const {
    ByteSink sink(bytesPerCall);
    if (!state().save(plugin_, sink.stream())) return std::nullopt;
    return sink.bytes();
}

bool ClapInstance::loadState(const std::vector<std::uint8_t>& bytes, std::uint64_t bytesPerCall) {
    const ByteSource source(bytes, bytesPerCall);
    return state().load(plugin_, source.stream());
}

const clap::PluginGui* ClapInstance::gui() const {
    return static_cast<const clap::PluginGui*>(extension(clap::kExtGui));
}

bool ClapInstance::hasEditor(const char* api) const {
    const clap::PluginGui* found = gui();
    return found != nullptr && found->isApiSupported(plugin_, api, false);
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ClapInstance::openEditor(const char* api,
                                                                                std::uintptr_t parent, double scale) {
    require(!editorOpen_, "gui create while an editor is open");
    if (!hasEditor(api) || !gui()->create(plugin_, api, false)) return std::nullopt;
    editorOpen_ = true;
    if (scale > 0.0) gui()->setScale(plugin_, scale);
    std::pair<std::uint32_t, std::uint32_t> size{0, 0};
    clap::Window window{api, {}};
    if (std::strcmp(api, clap::kWindowApiX11) == 0) {
        window.handle.x11 = static_cast<unsigned long>(parent);
    } else {
        window.handle.win32 = reinterpret_cast<void*>(parent);
    }
    if (!gui()->getSize(plugin_, &size.first, &size.second) || !gui()->setParent(plugin_, &window) ||
        !gui()->show(plugin_)) {
        closeEditor();
        return std::nullopt;
    }
    return size;
}

void ClapInstance::closeEditor() {
    if (!editorOpen_) return;
    gui()->hide(plugin_);
    gui()->destroy(plugin_);
    editorOpen_ = false;
}

}  // namespace claphost
