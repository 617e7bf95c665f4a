// The host's side of a controller's edits: what the controller tells the
// host of its own (beginEdit, performEdit, endEdit) and the restarts it
// asks for, kept in the order they came so that tests and tools can see
// them. Nothing is passed on: a host that plays automation only records
// what a plug-in's editor would have done.
//
// It is also the host's run loop, as some hosts answer IRunLoop from their
// component handler: a plug-in may register timers, which fire when the
// host's owner calls tick() (a UI thread's loop turning once). Event
// handlers on file descriptors are refused: this host has no display.
#pragma once

#include <mutex>
#include <vector>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

struct ParameterEdit {
    enum class Kind { Begin, Perform, End };
    Kind kind;
    vst3::ParamID id;
    // For Perform, the normalized value.
    vst3::ParamValue value;

    bool operator==(const ParameterEdit&) const = default;
};

class ComponentHandler final : public HostObject<ComponentHandler, vst3::IComponentHandler, vst3::IRunLoop> {
public:
    ~ComponentHandler();

    vst3::tresult SLICECAST_VST3_CALL beginEdit(vst3::ParamID id) override;
    vst3::tresult SLICECAST_VST3_CALL performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
    vst3::tresult SLICECAST_VST3_CALL endEdit(vst3::ParamID id) override;
    vst3::tresult SLICECAST_VST3_CALL restartComponent(vst3::int32 flags) override;

    vst3::tresult SLICECAST_VST3_CALL registerEventHandler(vst3::IEventHandler* handler, int fileDescriptor) override;
    vst3::tresult SLICECAST_VST3_CALL unregisterEventHandler(vst3::IEventHandler* handler) override;
    vst3::tresult SLICECAST_VST3_CALL registerTimer(vst3::ITimerHandler* handler, vst3::uint64 milliseconds) override;
    vst3::tresult SLICECAST_VST3_CALL unregisterTimer(vst3::ITimerHandler* handler) override;

    // Every registered timer fires once, in the order registered.
    void tick();
    std::size_t timerCount() const;

    std::vector<ParameterEdit> edits() const;
    // The flags of each restartComponent call.
    std::vector<vst3::int32> restarts() const;

private:
    vst3::tresult record(ParameterEdit edit);

    // The format calls for the main thread; a plug-in that calls from
    // another is recorded all the same.
    mutable std::mutex mutex_;
    std::vector<ParameterEdit> edits_;
    std::vector<vst3::int32> restarts_;
    // Each with the reference the host keeps while it is registered.
    std::vector<vst3::ITimerHandler*> timers_;
};

}  // namespace vst3host
