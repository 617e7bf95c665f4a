#include "slicecast_factory.h"

#include <array>
#include <cstring>

#include "bounded_text.h"
#include "slicecast_controller.h"
#include "slicecast_processor.h"
#include "vst3_identity.h"
#include "vst3_text.h"

namespace slicecast {

namespace {

struct ClassEntry {
    const vst3::Uid& id;
    const char* category;
    const char* name;
    std::uint32_t classFlags;
    const char* subCategories;
    vst3::FUnknown* (*create)() noexcept;
};

constexpr std::array<ClassEntry, 2> classes{{
    {kVst3ProcessorClassId, vst3::kAudioEffectClass, kVst3ProcessorName, kVst3ProcessorClassFlags,
     kVst3SubCategories, &SlicecastProcessor::create},
    {kVst3ControllerClassId, vst3::kComponentControllerClass, kVst3ControllerName, 0, "", &SlicecastController::create},
}};

const ClassEntry* classAt(vst3::int32 index) noexcept {
    if (index < 0 || static_cast<std::size_t>(index) >= classes.size()) return nullptr;
    return &classes[static_cast<std::size_t>(index)];
}

// The fields every class info shares; Info is PClassInfo, PClassInfo2 or
// PClassInfoW, zero-filled first so that every text ends in NULs.
template <typename Info>
void fillCommon(const ClassEntry& entry, Info& info) noexcept {
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.cid, entry.id.data(), sizeof info.cid);
    info.cardinality = vst3::kManyInstances;
    copyBoundedText(info.category, entry.category, sizeof info.category - 1);
}

template <typename Info>
void fillClassFlagsAndCategories(const ClassEntry& entry, Info& info) noexcept {
    info.classFlags = entry.classFlags;
    copyBoundedText(info.subCategories, entry.subCategories, sizeof info.subCategories - 1);
}

}  // namespace

vst3::tresult SlicecastFactory::queryInterface(const vst3::TUID interfaceId, void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    if (vst3::FUnknown::iid.matches(interfaceId) || vst3::IPluginFactory::iid.matches(interfaceId) ||
        vst3::IPluginFactory2::iid.matches(interfaceId) || vst3::IPluginFactory3::iid.matches(interfaceId)) {
        *object = static_cast<vst3::IPluginFactory3*>(this);
        return vst3::kResultOk;
    }
    *object = nullptr;
    return vst3::kNoInterface;
}

// The factory outlives every reference to it: its count is only told.
vst3::uint32 SlicecastFactory::addRef() noexcept { return 1; }

vst3::uint32 SlicecastFactory::release() noexcept { return 1; }

vst3::tresult SlicecastFactory::getFactoryInfo(vst3::PFactoryInfo* info) noexcept {
    if (info == nullptr) return vst3::kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    copyBoundedText(info->vendor, kVst3Vendor, sizeof info->vendor - 1);
    copyBoundedText(info->url, kVst3Url, sizeof info->url - 1);
    copyBoundedText(info->email, kVst3Email, sizeof info->email - 1);
    info->flags = kVst3FactoryFlags;
    return vst3::kResultOk;
}

vst3::int32 SlicecastFactory::countClasses() noexcept { return static_cast<vst3::int32>(classes.size()); }

vst3::tresult SlicecastFactory::getClassInfo(vst3::int32 index, vst3::PClassInfo* info) noexcept {
    const ClassEntry* entry = classAt(index);
    if (entry == nullptr || info == nullptr) return vst3::kInvalidArgument;
    fillCommon(*entry, *info);
    copyBoundedText(info->name, entry->name, sizeof info->name - 1);
    return vst3::kResultOk;
}

vst3::tresult SlicecastFactory::getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) noexcept {
    const ClassEntry* entry = classAt(index);
    if (entry == nullptr || info == nullptr) return vst3::kInvalidArgument;
    fillCommon(*entry, *info);
    copyBoundedText(info->name, entry->name, sizeof info->name - 1);
    fillClassFlagsAndCategories(*entry, *info);
    copyBoundedText(info->vendor, kVst3Vendor, sizeof info->vendor - 1);
    copyBoundedText(info->version, SLICECAST_VERSION, sizeof info->version - 1);
    copyBoundedText(info->sdkVersion, vst3::kVstVersionString, sizeof info->sdkVersion - 1);
    return vst3::kResultOk;
}

vst3::tresult SlicecastFactory::getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) noexcept {
    const ClassEntry* entry = classAt(index);
    if (entry == nullptr || info == nullptr) return vst3::kInvalidArgument;
    fillCommon(*entry, *info);
    writeUtf16(entry->name, info->name, std::size(info->name));
    fillClassFlagsAndCategories(*entry, *info);
    writeUtf16(kVst3Vendor, info->vendor, std::size(info->vendor));
    writeUtf16(SLICECAST_VERSION, info->version, std::size(info->version));
    writeUtf16(vst3::kVstVersionString, info->sdkVersion, std::size(info->sdkVersion));
    return vst3::kResultOk;
}

vst3::tresult SlicecastFactory::createInstance(vst3::FIDString classId, vst3::FIDString interfaceId,
                                               void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    for (const ClassEntry& entry : classes) {
        if (!entry.id.matches(classId)) continue;
        vst3::FUnknown* instance = entry.create();
        if (instance == nullptr) return vst3::kOutOfMemory;
        // The caller's reference comes from the query; the creation's own
        // is given back, which deletes an instance the query refused.
        const vst3::tresult result = instance->queryInterface(interfaceId, object);
        instance->release();
        return result;
    }
    return vst3::kNoInterface;
}

// The factory needs nothing of its host.
vst3::tresult SlicecastFactory::setHostContext(vst3::FUnknown*) noexcept { return vst3::kResultOk; }

}  // namespace slicecast
