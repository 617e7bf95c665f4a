// Tells the host that every parameter value changed (restartComponent with
// kParamValuesChanged) from the host's next UI tick rather than at once: a
// program chosen through setParamNormalized changes six values, and a host
// that is asked to re-read them from inside that call may wait on itself
// (headless Ardour 7 never returns). The tick is a timer on the host's run
// loop, which hosts offer on the component handler where they have one;
// without one the values reach the host when it next reads them.
//
// Everything here runs on the host's UI thread.
#pragma once

#include "held_reference.h"
#include "vst3_abi.h"

namespace slicecast {

class RestartOnTick {
public:
    explicit RestartOnTick(vst3::ITimerHandler& timer) noexcept : timer_(timer) {}
    RestartOnTick(const RestartOnTick&) = delete;
    RestartOnTick& operator=(const RestartOnTick&) = delete;
    ~RestartOnTick() { stopTimer(); }

    // The host's handler (null to forget it); a restart asked of the one
    // before is dropped with it.
    void setHandler(vst3::IComponentHandler* handler) noexcept;
    // A restart at the next tick.
    void request() noexcept;
    // The timer's tick.
    void tick() noexcept;

private:
    void stopTimer() noexcept;

    vst3::ITimerHandler& timer_;
    HeldReference<vst3::IComponentHandler> handler_;
    HeldReference<vst3::IRunLoop> runLoop_;
    bool pending_ = false;
};

}  // namespace slicecast
