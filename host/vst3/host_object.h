// The host's own objects as a VST 3 plug-in sees them: each answers for
// FUnknown and the interfaces it implements, and counts its references as
// the format's objects do. It starts with the one its maker holds (made by
// makeHostObject, which hands that one over in a Ref) and deletes itself
// when the last is given back, so that a plug-in that keeps a context, a
// handler or a stream beyond the host's own reference keeps it alive, and
// one that forgets to give a reference back leaves a leak the sanitizers
// report.
#pragma once

#include <atomic>
#include <utility>

#include "reference.h"
#include "vst3_abi.h"

namespace vst3host {

template <typename Derived, typename First, typename... Others>
class HostObject : public First, public Others... {
public:
    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) override {
        if (object == nullptr) return vst3::kInvalidArgument;
        *object = nullptr;
        const bool answered =
            vst3::FUnknown::iid.matches(interfaceId)
                ? answerAs<First>(object)
                : (answerAs<First>(interfaceId, object) || ... || answerAs<Others>(interfaceId, object));
        if (!answered) return vst3::kNoInterface;
        addRef();
        return vst3::kResultOk;
    }

    vst3::uint32 SLICECAST_VST3_CALL addRef() override { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }

    vst3::uint32 SLICECAST_VST3_CALL release() override {
        const vst3::uint32 left = count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

    // The references held now, the maker's included.
    vst3::uint32 references() const { return count_.load(std::memory_order_acquire); }

private:
    // The pointer adjusted to Interface, where interfaceId is its id.
    template <typename Interface>
    bool answerAs(const vst3::TUID interfaceId, void** object) {
        return Interface::iid.matches(interfaceId) && answerAs<Interface>(object);
    }
    template <typename Interface>
    bool answerAs(void** object) {
        *object = static_cast<Interface*>(this);
        return true;
    }

    std::atomic<vst3::uint32> count_{1};
};

// A new host object, its maker's reference in the Ref.
template <typename Object, typename... Arguments>
Ref<Object> makeHostObject(Arguments&&... arguments) {
    return Ref<Object>::adopt(new Object(std::forward<Arguments>(arguments)...));
}

}  // namespace vst3host
