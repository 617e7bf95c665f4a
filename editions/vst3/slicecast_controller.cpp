#include "slicecast_controller.h"

#include <cmath>
#include <new>

#include "vst3_programs.h"
#include "vst3_state.h"
#include "vst3_text.h"

namespace slicecast {

vst3::FUnknown* SlicecastController::create() noexcept {
    auto* controller = new (std::nothrow) SlicecastController();
    return controller != nullptr ? static_cast<vst3::IEditController*>(controller) : nullptr;
}

SlicecastController::SlicecastController() noexcept : values_(defaultNormalizedValues()) {}

// ---------------------------------------------------------------- FUnknown

vst3::tresult SlicecastController::queryInterface(const vst3::TUID interfaceId, void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::FUnknown::iid.matches(interfaceId) || vst3::IPluginBase::iid.matches(interfaceId) ||
        vst3::IEditController::iid.matches(interfaceId))
        *object = static_cast<vst3::IEditController*>(this);
    else if (vst3::IConnectionPoint::iid.matches(interfaceId))
        *object = static_cast<vst3::IConnectionPoint*>(this);
    else if (vst3::IUnitInfo::iid.matches(interfaceId))
        *object = static_cast<vst3::IUnitInfo*>(this);
    else if (vst3::ITimerHandler::iid.matches(interfaceId))
        *object = static_cast<vst3::ITimerHandler*>(this);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 SlicecastController::addRef() noexcept { return references_.add(); }

vst3::uint32 SlicecastController::release() noexcept {
    const std::uint32_t left = references_.drop();
    if (left == 0) delete this;
    return left;
}

// ---------------------------------------------------------------- IPluginBase

vst3::tresult SlicecastController::initialize(vst3::FUnknown*) noexcept {
    if (initialized_) return vst3::kResultFalse;
    initialized_ = true;
    return vst3::kResultOk;
}

vst3::tresult SlicecastController::terminate() noexcept {
    restart_.setHandler(nullptr);
    peer_.drop();
    initialized_ = false;
    return vst3::kResultOk;
}

// ---------------------------------------------------------------- IEditController

vst3::tresult SlicecastController::setComponentState(vst3::IBStream* state) noexcept {
    if (state == nullptr) return vst3::kInvalidArgument;
    const std::optional<SavedState> saved = readState(*state);
    if (!saved) return vst3::kResultFalse;
    // The program only names the choice again: the values stand as saved.
    values_ = normalizedValuesOf(saved->values);
    program_ = saved->preset.value_or(0);
    return vst3::kResultOk;
}

// The controller has nothing of its own to keep: every value lives in the
// processor's state. Saving says so rather than writing an empty state:
// Ardour 7 keeps only one of the two states in its session when both
// report success, and would lose the processor's.
vst3::tresult SlicecastController::setState(vst3::IBStream*) noexcept { return vst3::kResultOk; }

vst3::tresult SlicecastController::getState(vst3::IBStream*) noexcept { return vst3::kNotImplemented; }

vst3::int32 SlicecastController::getParameterCount() noexcept { return kVst3ParameterInfoCount; }

vst3::tresult SlicecastController::getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) noexcept {
    if (paramIndex == kVst3ParameterCount) {
        programParameterInfo(info);
        return vst3::kResultOk;
    }
    return vst3ParameterInfo(paramIndex, info) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult SlicecastController::getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                         vst3::String128 string) noexcept {
    if (isProgramParameter(id))
        return writeProgramName(programOfNormalized(valueNormalized), string) ? vst3::kResultOk : vst3::kResultFalse;
    return writeDisplayText(id, valueNormalized, string) ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult SlicecastController::getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                         vst3::ParamValue& valueNormalized) noexcept {
    if (isProgramParameter(id)) {
        const std::optional<std::int32_t> program = programOfName(string);
        if (!program) return vst3::kResultFalse;
        valueNormalized = normalizedOfProgram(*program);
        return vst3::kResultOk;
    }
    const std::optional<double> value = normalizedOfText(id, string);
    if (!value) return vst3::kResultFalse;
    valueNormalized = *value;
    return vst3::kResultOk;
}

// The program's plain value is its index in the list.
vst3::ParamValue SlicecastController::normalizedParamToPlain(vst3::ParamID id,
                                                             vst3::ParamValue valueNormalized) noexcept {
    if (isProgramParameter(id)) return programOfNormalized(valueNormalized);
    return plainOfNormalized(id, valueNormalized);
}

vst3::ParamValue SlicecastController::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) noexcept {
    if (isProgramParameter(id)) return normalizedOfProgram(programOfPlain(plainValue));
    return normalizedOfPlain(id, plainValue);
}

vst3::ParamValue SlicecastController::getParamNormalized(vst3::ParamID id) noexcept {
    if (isProgramParameter(id)) return normalizedOfProgram(program_);
    return isVst3ParameterId(id) ? values_[id] : 0.0;
}

vst3::tresult SlicecastController::setParamNormalized(vst3::ParamID id, vst3::ParamValue value) noexcept {
    if (std::isnan(value)) return vst3::kInvalidArgument;
    if (isProgramParameter(id)) {
        // The processor applies the same program when the host sends it
        // the change; the host learns the six new values at its next tick.
        const std::int32_t program = programOfNormalized(value);
        if (program == program_) return vst3::kResultOk;
        program_ = program;
        values_ = programValues(program);
        restart_.request();
        return vst3::kResultOk;
    }
    if (!isVst3ParameterId(id)) return vst3::kInvalidArgument;
    values_[id] = settledNormalized(id, value);
    return vst3::kResultOk;
}

vst3::tresult SlicecastController::setComponentHandler(vst3::IComponentHandler* handler) noexcept {
    restart_.setHandler(handler);
    return vst3::kResultOk;
}

vst3::IPlugView* SlicecastController::createView(vst3::FIDString) noexcept { return nullptr; }

// ---------------------------------------------------------------- IConnectionPoint

vst3::tresult SlicecastController::connect(vst3::IConnectionPoint* other) noexcept { return peer_.connect(other); }

vst3::tresult SlicecastController::disconnect(vst3::IConnectionPoint* other) noexcept {
    return peer_.disconnect(other);
}

vst3::tresult SlicecastController::notify(vst3::IMessage*) noexcept { return vst3::kResultFalse; }

// ---------------------------------------------------------------- IUnitInfo

// One unit, the root, which holds every parameter and the program list.
vst3::int32 SlicecastController::getUnitCount() noexcept { return 1; }

vst3::tresult SlicecastController::getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) noexcept {
    if (unitIndex != 0) return vst3::kInvalidArgument;
    info.id = vst3::kRootUnitId;
    info.parentUnitId = vst3::kNoParentUnitId;
    writeUtf16("Root", info.name, vst3::kString128Size);
    info.programListId = kProgramListId;
    return vst3::kResultOk;
}

vst3::int32 SlicecastController::getProgramListCount() noexcept { return 1; }

vst3::tresult SlicecastController::getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) noexcept {
    if (listIndex != 0) return vst3::kInvalidArgument;
    programListInfo(info);
    return vst3::kResultOk;
}

vst3::tresult SlicecastController::getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                                  vst3::String128 name) noexcept {
    if (listId != kProgramListId) return vst3::kInvalidArgument;
    return writeProgramName(programIndex, name) ? vst3::kResultOk : vst3::kInvalidArgument;
}

// The factory presets carry no attributes beyond their names.
vst3::tresult SlicecastController::getProgramInfo(vst3::ProgramListID, vst3::int32, const vst3::char8*,
                                                  vst3::String128) noexcept {
    return vst3::kResultFalse;
}

vst3::tresult SlicecastController::hasProgramPitchNames(vst3::ProgramListID, vst3::int32) noexcept {
    return vst3::kResultFalse;
}

vst3::tresult SlicecastController::getProgramPitchName(vst3::ProgramListID, vst3::int32, vst3::int16,
                                                       vst3::String128) noexcept {
    return vst3::kResultFalse;
}

vst3::UnitID SlicecastController::getSelectedUnit() noexcept { return vst3::kRootUnitId; }

vst3::tresult SlicecastController::selectUnit(vst3::UnitID unitId) noexcept {
    return unitId == vst3::kRootUnitId ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult SlicecastController::getUnitByBus(vst3::MediaType, vst3::BusDirection, vst3::int32, vst3::int32,
                                               vst3::UnitID&) noexcept {
    return vst3::kResultFalse;
}

// The factory list is fixed: a host cannot replace a program's data.
vst3::tresult SlicecastController::setUnitProgramData(vst3::int32, vst3::int32, vst3::IBStream*) noexcept {
    return vst3::kNotImplemented;
}

// ---------------------------------------------------------------- ITimerHandler

void SlicecastController::onTimer() noexcept { restart_.tick(); }

}  // namespace slicecast
