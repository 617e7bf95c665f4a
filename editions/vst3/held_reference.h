// A host object the plug-in keeps beyond the call that passed it (the
// connection's peer, the component handler): one reference taken while it
// is held, given back when it is replaced, dropped or the holder goes.
#pragma once

namespace slicecast {

template <typename Interface>
class HeldReference {
public:
    HeldReference() = default;
    HeldReference(const HeldReference&) = delete;
    HeldReference& operator=(const HeldReference&) = delete;
    ~HeldReference() { reset(); }

    Interface* get() const noexcept { return object_; }

    void reset(Interface* object = nullptr) noexcept {
        if (object != nullptr) object->addRef();
        Interface* previous = object_;
        object_ = object;
        if (previous != nullptr) previous->release();
    }

private:
    Interface* object_ = nullptr;
};

}  // namespace slicecast
