#include "slicecast_controller.h"

#include <cmath>
#include <cstring>
#include <new>

#include "slicecast_view.h"
#include "vst3_state.h"

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
    else if (ISummaryRingSource::iid.matches(interfaceId))
        *object = static_cast<ISummaryRingSource*>(this);
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
    peer_.drop();
    handler_.reset();
    feed_.reset();
    initialized_ = false;
    return vst3::kResultOk;
}

// ---------------------------------------------------------------- IEditController

vst3::tresult SlicecastController::setComponentState(vst3::IBStream* state) noexcept {
    if (state == nullptr) return vst3::kInvalidArgument;
    const std::optional<PlainValues> plain = readState(*state);
    if (!plain) return vst3::kResultFalse;
    values_ = normalizedValuesOf(*plain);
    return vst3::kResultOk;
}

// The controller has nothing of its own to keep: every value lives in the
// processor's state. Saving says so rather than writing an empty state:
// Ardour 7 keeps only one of the two states in its session when both
// report success, and would lose the processor's.
vst3::tresult SlicecastController::setState(vst3::IBStream*) noexcept { return vst3::kResultOk; }

vst3::tresult SlicecastController::getState(vst3::IBStream*) noexcept { return vst3::kNotImplemented; }

vst3::int32 SlicecastController::getParameterCount() noexcept { return kVst3ParameterCount; }

vst3::tresult SlicecastController::getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) noexcept {
    return vst3ParameterInfo(paramIndex, info) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult SlicecastController::getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                         vst3::String128 string) noexcept {
    return writeDisplayText(id, valueNormalized, string) ? vst3::kResultOk : vst3::kResultFalse;
}

vst3::tresult SlicecastController::getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                         vst3::ParamValue& valueNormalized) noexcept {
    const std::optional<double> value = normalizedOfText(id, string);
    if (!value) return vst3::kResultFalse;
    valueNormalized = *value;
    return vst3::kResultOk;
}

vst3::ParamValue SlicecastController::normalizedParamToPlain(vst3::ParamID id,
                                                             vst3::ParamValue valueNormalized) noexcept {
    return plainOfNormalized(id, valueNormalized);
}

vst3::ParamValue SlicecastController::plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) noexcept {
    return normalizedOfPlain(id, plainValue);
}

vst3::ParamValue SlicecastController::getParamNormalized(vst3::ParamID id) noexcept {
    return isVst3ParameterId(id) ? values_[id] : 0.0;
}

vst3::tresult SlicecastController::setParamNormalized(vst3::ParamID id, vst3::ParamValue value) noexcept {
    if (!isVst3ParameterId(id) || std::isnan(value)) return vst3::kInvalidArgument;
    values_[id] = settledNormalized(id, value);
    return vst3::kResultOk;
}

vst3::tresult SlicecastController::setComponentHandler(vst3::IComponentHandler* handler) noexcept {
    handler_.reset(handler);
    return vst3::kResultOk;
}

vst3::IPlugView* SlicecastController::createView(vst3::FIDString name) noexcept {
    // Hosts ask with a null name too, when "editor" gave nothing.
    if (name == nullptr || std::strcmp(name, vst3::kViewTypeEditor) != 0) return nullptr;
    SharedFeed* feed = feed_.get();
    if (feed != nullptr) feed->retain();
    return SlicecastView::create(*this, feed);
}

double SlicecastController::plainValue(ParameterIndex parameter) noexcept {
    return normalizedParamToPlain(parameter, getParamNormalized(parameter));
}

// ---------------------------------------------------------------- IConnectionPoint

vst3::tresult SlicecastController::connect(vst3::IConnectionPoint* other) noexcept { return peer_.connect(other); }

vst3::tresult SlicecastController::disconnect(vst3::IConnectionPoint* other) noexcept {
    const vst3::tresult answer = peer_.disconnect(other);
    if (answer == vst3::kResultOk) feed_.reset();
    return answer;
}

vst3::tresult SlicecastController::notify(vst3::IMessage* message) noexcept {
    SharedFeed* feed = SharedFeed::receive(message);
    if (feed == nullptr) return vst3::kResultFalse;
    feed_.reset(feed);
    return vst3::kResultOk;
}

SummaryRing* SlicecastController::summaryRing() noexcept {
    return feed_.get() != nullptr ? &feed_.get()->feed().ring() : nullptr;
}

}  // namespace slicecast
