#include "lv2_instance.h"

#include <cstring>

#include <lv2/urid/urid.h>

#include "lilv_world.h"

namespace lv2host {

struct Lv2Instance::Handle {
    LilvInstance* instance = nullptr;
};

namespace {

bool hostOffers(const std::string& feature, Lv2Instance::Features features) {
    return features == Lv2Instance::Features::UridMap && feature == LV2_URID__map;
}

}  // namespace

Lv2Instance::Lv2Instance(const Lv2Plugin& plugin, double sampleRate, Features features)
    : plugin_(plugin), events_(map_), handle_(std::make_unique<Handle>()) {
    for (const std::string& feature : plugin.requiredFeatures()) {
        if (!hostOffers(feature, features)) throw Lv2HostError(plugin.uri() + " needs " + feature);
    }
    controls_.assign(plugin.ports().size(), 0.0f);
    for (const PortInfo& port : plugin.ports()) {
        switch (port.kind) {
            case PortInfo::Kind::AudioInput: audioInputs_.push_back(port.index); break;
            case PortInfo::Kind::AudioOutput: audioOutputs_.push_back(port.index); break;
            case PortInfo::Kind::AtomInput: atomInputs_.push_back(port.index); break;
            case PortInfo::Kind::ControlInput:
            case PortInfo::Kind::ControlOutput:
                controls_[port.index] = port.defaultValue == port.defaultValue ? port.defaultValue : 0.0f;
                break;
            case PortInfo::Kind::AtomOutput: atomOutputs_.push_back(port.index); break;
            case PortInfo::Kind::Other: break;
        }
    }
    if (audioInputs_.size() != 2 || audioOutputs_.size() != 2) {
        throw Lv2HostError(plugin.uri() + " is not a stereo effect (two audio inputs, two audio outputs)");
    }

    const LV2_Feature uridFeature{LV2_URID__map, map_.feature()};
    const LV2_Feature* const withMap[] = {&uridFeature, nullptr};
    handle_->instance = lilv_plugin_instantiate(plugin.world().plugin, sampleRate,
                                                features == Features::UridMap ? withMap : nullptr);
    if (handle_->instance == nullptr) throw Lv2HostError(plugin.uri() + " refused to be instantiated");
    for (const PortInfo& port : plugin.ports()) {
        if (port.kind == PortInfo::Kind::ControlInput || port.kind == PortInfo::Kind::ControlOutput) {
            lilv_instance_connect_port(handle_->instance, port.index, &controls_[port.index]);
        }
    }
}

Lv2Instance::~Lv2Instance() {
    if (active_) lilv_instance_deactivate(handle_->instance);
    lilv_instance_free(handle_->instance);
}

std::uint32_t Lv2Instance::controlInput(const std::string& symbol) const { return plugin_.port(symbol).index; }

void Lv2Instance::setControl(std::uint32_t portIndex, float value) {
    if (portIndex >= plugin_.ports().size() || plugin_.ports()[portIndex].kind != PortInfo::Kind::ControlInput) {
        throw Lv2HostError("port " + std::to_string(portIndex) + " is no control input");
    }
    controls_[portIndex] = value;
}

void Lv2Instance::setControl(const std::string& symbol, float value) { setControl(controlInput(symbol), value); }

float Lv2Instance::control(std::uint32_t portIndex) const { return controls_.at(portIndex); }

void Lv2Instance::activate() {
    if (active_) return;
    lilv_instance_activate(handle_->instance);
    active_ = true;
}

void Lv2Instance::deactivate() {
    if (!active_) return;
    lilv_instance_deactivate(handle_->instance);
    active_ = false;
}

void Lv2Instance::runConnected(const StereoPorts& audio, std::uint32_t frames, void* controlPort) {
    activate();
    LilvInstance* instance = handle_->instance;
    lilv_instance_connect_port(instance, audioInputs_[0], const_cast<float*>(audio.inLeft));
    lilv_instance_connect_port(instance, audioInputs_[1], const_cast<float*>(audio.inRight));
    lilv_instance_connect_port(instance, audioOutputs_[0], audio.outLeft);
    lilv_instance_connect_port(instance, audioOutputs_[1], audio.outRight);
    for (std::uint32_t port : atomInputs_) lilv_instance_connect_port(instance, port, controlPort);
    for (std::size_t i = 0; i < atomOutputs_.size(); ++i) {
        void* buffer = nullptr;
        if (atomOutputBytes_ > 0) {
            auto* atom = reinterpret_cast<LV2_Atom*>(atomOutputBuffers_[i].data());
            atom->size = atomOutputBytes_ - static_cast<std::uint32_t>(sizeof(LV2_Atom));
            atom->type = map_.map(LV2_ATOM__Chunk);
            buffer = atom;
        }
        lilv_instance_connect_port(instance, atomOutputs_[i], buffer);
    }
    lilv_instance_run(instance, frames);
}

void Lv2Instance::connectAtomOutputs(std::uint32_t capacityBytes) {
    atomOutputBytes_ = capacityBytes;
    const std::size_t words = (capacityBytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t);
    atomOutputBuffers_.assign(atomOutputs_.size(), std::vector<std::uint64_t>(words, 0));
}

const LV2_Atom_Sequence* Lv2Instance::atomOutput() const {
    if (atomOutputs_.empty() || atomOutputBytes_ == 0) return nullptr;
    return reinterpret_cast<const LV2_Atom_Sequence*>(atomOutputBuffers_.front().data());
}

void Lv2Instance::run(const StereoPorts& audio, std::uint32_t frames, const std::vector<TimePosition>& events) {
    events_.write(events);
    runConnected(audio, frames, events_.data());
}

void Lv2Instance::run(const StereoPorts& audio, std::uint32_t frames, const std::vector<TimePosition>& events,
                      const std::vector<std::vector<std::uint8_t>>& atoms) {
    events_.write(events, atoms, frames);
    runConnected(audio, frames, events_.data());
}

void Lv2Instance::runWithTheSameEvents(const StereoPorts& audio, std::uint32_t frames) {
    runConnected(audio, frames, events_.data());
}

void Lv2Instance::runWithTheSamePorts(std::uint32_t frames) {
    activate();
    lilv_instance_run(handle_->instance, frames);
}

void Lv2Instance::runRaw(const StereoPorts& audio, std::uint32_t frames, const std::vector<std::uint8_t>& sequence) {
    raw_.assign((sequence.size() + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    std::memcpy(raw_.data(), sequence.data(), sequence.size());
    runConnected(audio, frames, raw_.data());
}

void Lv2Instance::runWithoutControlPort(const StereoPorts& audio, std::uint32_t frames) {
    runConnected(audio, frames, nullptr);
}

}  // namespace lv2host
