// The parameter changes a host hands a processor with one process call: a
// queue of points (sample offset, normalized value) for each parameter that
// changes in the block, the points of a queue kept in offset order (points
// at one offset in the order they were added). Queues are
// kept for the next block when the changes are cleared, so that a host
// that reuses one object allocates only while its blocks bring more
// changes than any before.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

class ParamValueQueue final : public HostObject<ParamValueQueue, vst3::IParamValueQueue> {
public:
    explicit ParamValueQueue(vst3::ParamID id) : id_(id) {}

    vst3::ParamID SLICECAST_VST3_CALL getParameterId() override { return id_; }
    vst3::int32 SLICECAST_VST3_CALL getPointCount() override { return static_cast<vst3::int32>(points_.size()); }
    vst3::tresult SLICECAST_VST3_CALL getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                                               vst3::ParamValue& value) override;
    vst3::tresult SLICECAST_VST3_CALL addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                               vst3::int32& index) override;

    // Empty, for the parameter id.
    void restart(vst3::ParamID id);

private:
    vst3::ParamID id_;
    std::vector<std::pair<vst3::int32, vst3::ParamValue>> points_;
};

class ParameterChanges final : public HostObject<ParameterChanges, vst3::IParameterChanges> {
public:
    vst3::int32 SLICECAST_VST3_CALL getParameterCount() override { return static_cast<vst3::int32>(used_); }
    // Borrowed: the queue belongs to the changes.
    vst3::IParamValueQueue* SLICECAST_VST3_CALL getParameterData(vst3::int32 index) override;
    // The parameter's queue, made if it has none yet.
    vst3::IParamValueQueue* SLICECAST_VST3_CALL addParameterData(const vst3::ParamID& id, vst3::int32& index) override;

    // The host's own way in: a point for parameter id.
    ParameterChanges& add(vst3::ParamID id, vst3::int32 sampleOffset, vst3::ParamValue value);
    // No queue at all, as for a block without changes.
    void clear() { used_ = 0; }

private:
    std::vector<Ref<ParamValueQueue>> queues_;
    std::size_t used_ = 0;
};

}  // namespace vst3host
