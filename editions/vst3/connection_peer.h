// The other side of the connection a host makes between processor and
// controller, as both keep it. The peer is usually the host's proxy, never
// taken for the other object: the two sides exchange nothing through it
// (the controller learns the processor's values from its saved state), but
// a host expects both to accept the connection and keep it until it is
// undone.
#pragma once

#include "held_reference.h"
#include "vst3_abi.h"

namespace slicecast {

class ConnectionPeer {
public:
    vst3::tresult connect(vst3::IConnectionPoint* other) noexcept {
        if (other == nullptr) return vst3::kInvalidArgument;
        if (peer_.get() != nullptr) return vst3::kResultFalse;
        peer_.reset(other);
        return vst3::kResultOk;
    }

    vst3::tresult disconnect(vst3::IConnectionPoint* other) noexcept {
        if (other == nullptr || other != peer_.get()) return vst3::kInvalidArgument;
        peer_.reset();
        return vst3::kResultOk;
    }

    // At terminate: a host that forgot to disconnect gets its peer back.
    void drop() noexcept { peer_.reset(); }

private:
    HeldReference<vst3::IConnectionPoint> peer_;
};

}  // namespace slicecast
