// The context a host gives a plug-in's objects in initialize: the host's
// name, and the maker of messages and attribute lists for the processor and
// the controller to exchange.
#pragma once

#include <string>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

class HostApplication final : public HostObject<HostApplication, vst3::IHostApplication> {
public:
    explicit HostApplication(std::string name = "Slicecast host");

    vst3::tresult SLICECAST_VST3_CALL getName(vst3::String128 name) override;
    // classId and interfaceId both IMessage's id, or both IAttributeList's;
    // the caller owns the new object.
    vst3::tresult SLICECAST_VST3_CALL createInstance(vst3::TUID classId, vst3::TUID interfaceId,
                                                     void** object) override;

private:
    std::string name_;
};

}  // namespace vst3host
