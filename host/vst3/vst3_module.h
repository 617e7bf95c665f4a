// A VST 3 module loaded the way hosts load one: the bundle's binary for
// this platform (or a binary named directly) through the system's loader,
// the platform's entry function, then GetPluginFactory. The factory's
// reference is given back, and the exit function called, before the
// library is unloaded. Instances of its classes (Vst3Instance) must be gone
// by then.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reference.h"
#include "shared_library.h"
#include "vst3_abi.h"

namespace vst3host {

using pluginhost::HostError;

struct FactoryInfo {
    std::string vendor;
    std::string url;
    std::string email;
    vst3::int32 flags = 0;
};

// A class as the factory lists it, from the richest info it gives
// (Unicode, then the second form, then the first; what a form lacks is
// empty).
struct ClassInfo {
    vst3::Uid id{};
    vst3::int32 cardinality = 0;
    std::string category;
    std::string name;
    vst3::uint32 classFlags = 0;
    std::string subCategories;
    std::string vendor;
    std::string version;
    std::string sdkVersion;
};

class Vst3Module {
public:
    // path is a bundle folder (NAME.vst3), or the binary itself. Throws
    // HostError when it does not load, lacks its entry functions or they
    // refuse, or gives no factory.
    explicit Vst3Module(const std::string& path);
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    // As given, and the binary loaded.
    const std::string& path() const { return path_; }
    const std::string& binaryPath() const { return library_.path(); }

    vst3::IPluginFactory& factory() const { return *factory_; }
    FactoryInfo factoryInfo() const;
    std::vector<ClassInfo> classes() const;
    // The first class of the category (kAudioEffectClass: the processors
    // hosts instantiate); none when there is none.
    std::optional<ClassInfo> firstClassOf(const std::string& category) const;

    // A new object of that class, asked for Interface, with the caller's
    // reference; empty when the factory refuses.
    template <typename Interface>
    Ref<Interface> create(const vst3::Uid& classId) const {
        void* object = nullptr;
        if (factory_->createInstance(classId.data(), Interface::iid.data(), &object) != vst3::kResultOk ||
            object == nullptr)
            return {};
        return Ref<Interface>::adopt(static_cast<Interface*>(object));
    }

private:
    std::string path_;
    pluginhost::SharedLibrary library_;
    vst3::ModuleExitProc exit_ = nullptr;
    Ref<vst3::IPluginFactory> factory_;
};

}  // namespace vst3host
