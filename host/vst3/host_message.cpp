#include "host_message.h"

#include <algorithm>
#include <cstring>

namespace vst3host {

template <typename Kind>
const Kind* HostAttributeList::find(vst3::AttrID id) const {
    if (id == nullptr) return nullptr;
    const auto found = values_.find(id);
    return found == values_.end() ? nullptr : std::get_if<Kind>(&found->second);
}

vst3::tresult HostAttributeList::set(vst3::AttrID id, Value value) {
    if (id == nullptr) return vst3::kInvalidArgument;
    values_[id] = std::move(value);
    return vst3::kResultOk;
}

vst3::tresult HostAttributeList::setInt(vst3::AttrID id, vst3::int64 value) { return set(id, value); }

vst3::tresult HostAttributeList::getInt(vst3::AttrID id, vst3::int64& value) {
    const auto* found = find<vst3::int64>(id);
    if (found == nullptr) return vst3::kResultFalse;
    value = *found;
    return vst3::kResultOk;
}

vst3::tresult HostAttributeList::setFloat(vst3::AttrID id, double value) { return set(id, value); }

vst3::tresult HostAttributeList::getFloat(vst3::AttrID id, double& value) {
    const auto* found = find<double>(id);
    if (found == nullptr) return vst3::kResultFalse;
    value = *found;
    return vst3::kResultOk;
}

vst3::tresult HostAttributeList::setString(vst3::AttrID id, const vst3::TChar* string) {
    if (string == nullptr) return vst3::kInvalidArgument;
    return set(id, std::u16string(string));
}

vst3::tresult HostAttributeList::getString(vst3::AttrID id, vst3::TChar* string, vst3::uint32 sizeInBytes) {
    const auto* found = find<std::u16string>(id);
    const std::size_t capacity = sizeInBytes / sizeof(vst3::TChar);
    if (found == nullptr || string == nullptr || capacity == 0) return vst3::kResultFalse;
    const std::size_t length = std::min(found->size(), capacity - 1);
    std::copy_n(found->begin(), length, string);
    string[length] = u'\0';
    return vst3::kResultOk;
}

vst3::tresult HostAttributeList::setBinary(vst3::AttrID id, const void* data, vst3::uint32 sizeInBytes) {
    if (data == nullptr && sizeInBytes > 0) return vst3::kInvalidArgument;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return set(id, std::vector<std::uint8_t>(bytes, bytes + sizeInBytes));
}

vst3::tresult HostAttributeList::getBinary(vst3::AttrID id, const void*& data, vst3::uint32& sizeInBytes) {
    const auto* found = find<std::vector<std::uint8_t>>(id);
    if (found == nullptr) return vst3::kResultFalse;
    data = found->data();
    sizeInBytes = static_cast<vst3::uint32>(found->size());
    return vst3::kResultOk;
}

HostMessage::HostMessage() : attributes_(makeHostObject<HostAttributeList>()) {}

}  // namespace vst3host
