// References in VST 3's counting, as the host keeps them: Ref holds one
// reference to an object of either side and gives it back when it goes;
// queryOf asks an object for another of its interfaces.
//
// A pointer received from a creation or a query comes with a reference the
// receiver owns (adopt); one lent as an argument or by a getter does not
// (share takes a reference of its own).
#pragma once

#include <utility>

#include "vst3_abi.h"

namespace vst3host {

template <typename Interface>
class Ref {
public:
    Ref() = default;
    Ref(const Ref& other) noexcept : object_(other.object_) {
        if (object_ != nullptr) object_->addRef();
    }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() { reset(); }

    // Takes over the reference the caller was handed with object.
    static Ref adopt(Interface* object) noexcept {
        Ref ref;
        ref.object_ = object;
        return ref;
    }
    // Takes a reference of its own to an object that is only lent.
    static Ref share(Interface* object) noexcept {
        if (object != nullptr) object->addRef();
        return adopt(object);
    }

    Interface* get() const noexcept { return object_; }
    Interface* operator->() const noexcept { return object_; }
    Interface& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    void reset() noexcept {
        if (Interface* object = std::exchange(object_, nullptr)) object->release();
    }

private:
    Interface* object_ = nullptr;
};

// The interface of object that Interface names, with its own reference;
// empty when the object does not answer for it.
template <typename Interface>
Ref<Interface> queryOf(vst3::FUnknown* object) {
    if (object == nullptr) return {};
    void* found = nullptr;
    if (object->queryInterface(Interface::iid.data(), &found) != vst3::kResultOk || found == nullptr) return {};
    return Ref<Interface>::adopt(static_cast<Interface*>(found));
}

}  // namespace vst3host
