#include "clap_host_object.h"

#include <cstring>

namespace claphost {

namespace {

thread_local bool playsAudioThread = false;

}  // namespace

HostObject::HostObject(bool offerExtensions)
    : host_{clap::kVersion, this,           "Slicecast host", "J'x Tiv-nar", "",
            "1.0.0",        &getExtension,  &requestRestart,  &requestProcess, &requestCallback},
      offerExtensions_(offerExtensions),
      mainThread_(std::this_thread::get_id()) {}

HostObject& HostObject::of(const clap::Host* host) { return *static_cast<HostObject*>(host->hostData); }

std::vector<std::string> HostObject::logMessages() const {
    const std::lock_guard<std::mutex> lock(logMutex_);
    return logMessages_;
}

HostObject::AudioThreadRole::AudioThreadRole() : previous_(playsAudioThread) { playsAudioThread = true; }

HostObject::AudioThreadRole::~AudioThreadRole() { playsAudioThread = previous_; }

const void* HostObject::getExtension(const clap::Host* host, const char* id) {
    static constexpr clap::HostLog logExtension{&log};
    static constexpr clap::HostThreadCheck threadCheckExtension{&isMainThread, &isAudioThread};
    static constexpr clap::HostParams paramsExtension{&rescan, &clear, &requestFlush};
    static constexpr clap::HostState stateExtension{&markDirty};
    static constexpr clap::HostPresetLoad presetLoadExtension{&presetError, &presetLoaded};
    if (id == nullptr || !of(host).offerExtensions_) return nullptr;
    if (std::strcmp(id, clap::kExtLog) == 0) return &logExtension;
    if (std::strcmp(id, clap::kExtThreadCheck) == 0) return &threadCheckExtension;
    if (std::strcmp(id, clap::kExtParams) == 0) return &paramsExtension;
    if (std::strcmp(id, clap::kExtState) == 0) return &stateExtension;
    if (std::strcmp(id, clap::kExtPresetLoad) == 0 || std::strcmp(id, clap::kExtPresetLoadDraft) == 0)
        return &presetLoadExtension;
    return nullptr;
}

void HostObject::requestRestart(const clap::Host* host) { ++of(host).restartRequests_; }

void HostObject::requestProcess(const clap::Host*) {}

void HostObject::requestCallback(const clap::Host* host) { ++of(host).callbackRequests_; }

void HostObject::log(const clap::Host* host, std::int32_t severity, const char* message) {
    HostObject& self = of(host);
    const std::lock_guard<std::mutex> lock(self.logMutex_);
    self.logMessages_.push_back(std::to_string(severity) + ": " + (message != nullptr ? message : ""));
}

bool HostObject::isMainThread(const clap::Host* host) { return std::this_thread::get_id() == of(host).mainThread_; }

bool HostObject::isAudioThread(const clap::Host*) { return playsAudioThread; }

void HostObject::rescan(const clap::Host* host, std::uint32_t) { ++of(host).paramsCalls_; }

void HostObject::clear(const clap::Host* host, clap::Id, std::uint32_t) { ++of(host).paramsCalls_; }

void HostObject::requestFlush(const clap::Host* host) { ++of(host).paramsCalls_; }

void HostObject::markDirty(const clap::Host* host) { ++of(host).dirtyMarks_; }

std::vector<std::string> HostObject::presetsLoaded() const {
    const std::lock_guard<std::mutex> lock(logMutex_);
    return presetsLoaded_;
}

std::vector<std::string> HostObject::presetErrors() const {
    const std::lock_guard<std::mutex> lock(logMutex_);
    return presetErrors_;
}

void HostObject::presetError(const clap::Host* host, std::uint32_t, const char*, const char*, std::int32_t,
                             const char* message) {
    HostObject& self = of(host);
    const std::lock_guard<std::mutex> lock(self.logMutex_);
    self.presetErrors_.push_back(message != nullptr ? message : "");
}

void HostObject::presetLoaded(const clap::Host* host, std::uint32_t, const char*, const char* loadKey) {
    HostObject& self = of(host);
    const std::lock_guard<std::mutex> lock(self.logMutex_);
    self.presetsLoaded_.push_back(loadKey != nullptr ? loadKey : "");
}

}  // namespace claphost
