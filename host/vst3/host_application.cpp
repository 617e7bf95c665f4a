#include "host_application.h"

#include "host_message.h"
#include "utf16_text.h"

namespace vst3host {

HostApplication::HostApplication(std::string name) : name_(std::move(name)) {}

vst3::tresult HostApplication::getName(vst3::String128 name) {
    if (name == nullptr) return vst3::kInvalidArgument;
    writeUtf16(name_, name, vst3::kString128Size);
    return vst3::kResultOk;
}

namespace {

// The new object's reference goes to the caller through the query; the
// maker's is given back.
template <typename Object>
vst3::tresult handOver(const vst3::TUID interfaceId, void** object) {
    const Ref<Object> made = makeHostObject<Object>();
    return made->queryInterface(interfaceId, object);
}

}  // namespace

vst3::tresult HostApplication::createInstance(vst3::TUID classId, vst3::TUID interfaceId, void** object) {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::IMessage::iid.matches(classId)) return handOver<HostMessage>(interfaceId, object);
    if (vst3::IAttributeList::iid.matches(classId)) return handOver<HostAttributeList>(interfaceId, object);
    return vst3::kNoInterface;
}

}  // namespace vst3host
