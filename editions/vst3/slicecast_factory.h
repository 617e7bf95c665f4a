// The module's one factory: the vendor, the two classes (the processor,
// filed as an audio effect, and its edit controller) and their instances.
// It is a constant object that lives as long as the library: hosts may
// count references on it, and nothing they do ever deletes it.
#pragma once

#include "vst3_abi.h"

namespace slicecast {

class SlicecastFactory final : public vst3::IPluginFactory3 {
public:
    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL release() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL getFactoryInfo(vst3::PFactoryInfo* info) noexcept override;
    vst3::int32 SLICECAST_VST3_CALL countClasses() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getClassInfo(vst3::int32 index, vst3::PClassInfo* info) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL createInstance(vst3::FIDString classId, vst3::FIDString interfaceId,
                                                     void** object) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getClassInfoUnicode(vst3::int32 index,
                                                          vst3::PClassInfoW* info) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setHostContext(vst3::FUnknown* context) noexcept override;
};

}  // namespace slicecast
