// SlicecastController: the edit controller of the VST 3 edition, a class
// of its own beside the processor as the format recommends. It describes
// the six parameters and the program change, converts and shows their
// values, keeps the values the host sets or the processor's saved state
// brings (setComponentState), and lists the factory presets as the root
// unit's programs (IUnitInfo). It has no editor and no state of its own.
// It tells the host of values only when a program the host chose changed
// them, at the host's next UI tick (restart_on_tick.h); it never edits a
// value itself.
//
// Every call comes from the host's main thread.
#pragma once

#include <cstdint>

#include "connection_peer.h"
#include "reference_count.h"
#include "restart_on_tick.h"
#include "vst3_abi.h"
#include "vst3_parameters.h"

namespace slicecast {

class SlicecastController final : public vst3::IEditController,
                                  public vst3::IConnectionPoint,
                                  public vst3::IUnitInfo,
                                  public vst3::ITimerHandler {
public:
    // A new controller with one reference, or null when no storage can be
    // had.
    static vst3::FUnknown* create() noexcept;

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL release() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL initialize(vst3::FUnknown* context) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL terminate() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL setComponentState(vst3::IBStream* state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setState(vst3::IBStream* state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getState(vst3::IBStream* state) noexcept override;
    vst3::int32 SLICECAST_VST3_CALL getParameterCount() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getParameterInfo(vst3::int32 paramIndex,
                                                       vst3::ParameterInfo& info) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                            vst3::String128 string) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                            vst3::ParamValue& valueNormalized) noexcept override;
    vst3::ParamValue SLICECAST_VST3_CALL normalizedParamToPlain(vst3::ParamID id,
                                                                vst3::ParamValue valueNormalized) noexcept override;
    vst3::ParamValue SLICECAST_VST3_CALL plainParamToNormalized(vst3::ParamID id,
                                                                vst3::ParamValue plainValue) noexcept override;
    vst3::ParamValue SLICECAST_VST3_CALL getParamNormalized(vst3::ParamID id) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setParamNormalized(vst3::ParamID id, vst3::ParamValue value) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setComponentHandler(vst3::IComponentHandler* handler) noexcept override;
    vst3::IPlugView* SLICECAST_VST3_CALL createView(vst3::FIDString name) noexcept override;

    vst3::tresult SLICECAST_VST3_CALL connect(vst3::IConnectionPoint* other) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL disconnect(vst3::IConnectionPoint* other) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL notify(vst3::IMessage* message) noexcept override;

    vst3::int32 SLICECAST_VST3_CALL getUnitCount() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) noexcept override;
    vst3::int32 SLICECAST_VST3_CALL getProgramListCount() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getProgramListInfo(vst3::int32 listIndex,
                                                         vst3::ProgramListInfo& info) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                                     vst3::String128 name) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                                     const vst3::char8* attributeId,
                                                     vst3::String128 attributeValue) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL hasProgramPitchNames(vst3::ProgramListID listId,
                                                           vst3::int32 programIndex) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                                          vst3::int16 midiPitch,
                                                          vst3::String128 name) noexcept override;
    vst3::UnitID SLICECAST_VST3_CALL getSelectedUnit() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL selectUnit(vst3::UnitID unitId) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getUnitByBus(vst3::MediaType type, vst3::BusDirection dir,
                                                   vst3::int32 busIndex, vst3::int32 channel,
                                                   vst3::UnitID& unitId) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                                         vst3::IBStream* data) noexcept override;

    void SLICECAST_VST3_CALL onTimer() noexcept override;

private:
    SlicecastController() noexcept;
    ~SlicecastController() = default;

    ReferenceCount references_;
    ConnectionPeer peer_;
    bool initialized_ = false;
    NormalizedValues values_;
    std::int32_t program_ = 0;
    RestartOnTick restart_{*this};
};

}  // namespace slicecast
