// The messages a host makes for a plug-in (IHostApplication::createInstance):
// an attribute list of named integers, floats, UTF-16 strings and binary
// blocks, and a message that carries an id and one such list. The processor
// and the controller of an effect send them to each other through their
// connection.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

class HostAttributeList final : public HostObject<HostAttributeList, vst3::IAttributeList> {
public:
    vst3::tresult SLICECAST_VST3_CALL setInt(vst3::AttrID id, vst3::int64 value) override;
    vst3::tresult SLICECAST_VST3_CALL getInt(vst3::AttrID id, vst3::int64& value) override;
    vst3::tresult SLICECAST_VST3_CALL setFloat(vst3::AttrID id, double value) override;
    vst3::tresult SLICECAST_VST3_CALL getFloat(vst3::AttrID id, double& value) override;
    vst3::tresult SLICECAST_VST3_CALL setString(vst3::AttrID id, const vst3::TChar* string) override;
    // Up to sizeInBytes bytes of the string, its NUL included.
    vst3::tresult SLICECAST_VST3_CALL getString(vst3::AttrID id, vst3::TChar* string,
                                                vst3::uint32 sizeInBytes) override;
    vst3::tresult SLICECAST_VST3_CALL setBinary(vst3::AttrID id, const void* data, vst3::uint32 sizeInBytes) override;
    // data stays valid while the list keeps the value.
    vst3::tresult SLICECAST_VST3_CALL getBinary(vst3::AttrID id, const void*& data,
                                                vst3::uint32& sizeInBytes) override;

private:
    using Value = std::variant<vst3::int64, double, std::u16string, std::vector<std::uint8_t>>;
    template <typename Kind>
    const Kind* find(vst3::AttrID id) const;
    vst3::tresult set(vst3::AttrID id, Value value);

    std::map<std::string, Value> values_;
};

class HostMessage final : public HostObject<HostMessage, vst3::IMessage> {
public:
    HostMessage();

    vst3::FIDString SLICECAST_VST3_CALL getMessageID() override { return id_.c_str(); }
    void SLICECAST_VST3_CALL setMessageID(vst3::FIDString id) override { id_ = id != nullptr ? id : ""; }
    vst3::IAttributeList* SLICECAST_VST3_CALL getAttributes() override { return attributes_.get(); }

private:
    std::string id_;
    Ref<HostAttributeList> attributes_;
};

}  // namespace vst3host
