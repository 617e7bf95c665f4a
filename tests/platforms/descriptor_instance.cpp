#include "descriptor_instance.h"

#include <stdexcept>
#include <string>

#include <lv2/urid/urid.h>

#include "lv2_scenario_effect.h"

namespace platforms {

namespace {

// Slicecast's ports, as its .ttl numbers them.
constexpr std::uint32_t kInLeft = 0;
constexpr std::uint32_t kInRight = 1;
constexpr std::uint32_t kOutLeft = 2;
constexpr std::uint32_t kOutRight = 3;
constexpr std::uint32_t kControl = 10;

}  // namespace

DescriptorInstance::DescriptorInstance(const pluginhost::SharedLibrary& library, double sampleRate) : events_(map_) {
    const auto entry = reinterpret_cast<LV2_Descriptor_Function>(library.symbol("lv2_descriptor"));
    if (entry == nullptr) throw std::runtime_error(library.path() + " does not export lv2_descriptor");
    descriptor_ = entry(0);
    if (descriptor_ == nullptr) throw std::runtime_error("lv2_descriptor(0) gives no plug-in");
    const LV2_Feature uridFeature{LV2_URID__map, map_.feature()};
    const LV2_Feature* const features[] = {&uridFeature, nullptr};
    handle_ = descriptor_->instantiate(descriptor_, sampleRate, "", features);
    if (handle_ == nullptr) throw std::runtime_error(std::string(descriptor_->URI) + " refused to be instantiated");
    for (std::uint32_t index = 0; index < controls_.size(); ++index) {
        descriptor_->connect_port(handle_, kFirstParameterPort + index, &controls_[index]);
    }
    if (descriptor_->activate != nullptr) descriptor_->activate(handle_);
}

DescriptorInstance::~DescriptorInstance() {
    if (descriptor_->deactivate != nullptr) descriptor_->deactivate(handle_);
    descriptor_->cleanup(handle_);
}

void DescriptorInstance::setControl(std::uint32_t port, float value) {
    if (port < kFirstParameterPort || port - kFirstParameterPort >= controls_.size()) {
        throw std::out_of_range("port " + std::to_string(port) + " is no control port");
    }
    controls_[port - kFirstParameterPort] = value;
}

void DescriptorInstance::run(const lv2host::StereoPorts& audio, std::uint32_t frames,
                             const std::vector<lv2host::TimePosition>& events) {
    events_.write(events);
    descriptor_->connect_port(handle_, kInLeft, const_cast<float*>(audio.inLeft));
    descriptor_->connect_port(handle_, kInRight, const_cast<float*>(audio.inRight));
    descriptor_->connect_port(handle_, kOutLeft, audio.outLeft);
    descriptor_->connect_port(handle_, kOutRight, audio.outRight);
    descriptor_->connect_port(handle_, kControl, events_.data());
    descriptor_->run(handle_, frames);
}

pluginhost::StereoBuffer renderLv2Scenario(const Scenario& scenario, const pluginhost::SharedLibrary& library) {
    DescriptorInstance instance(library, scenario.sampleRate);
    Lv2ScenarioEffect<DescriptorInstance> effect(instance);
    return renderScenario(scenario, effect);
}

}  // namespace platforms
