// The part of VST 3's binary interface an editor adds: the view and the
// host's frame around it, the display scale, and on Linux the host's run
// loop with the handlers it calls. Included by the edition and by the
// project's own host, like vst3_abi.h, and held to the published layout by
// the checks at the end.
#pragma once

#include "vst3_abi.h"

namespace vst3 {

struct ViewRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;

    int32 width() const noexcept { return right - left; }
    int32 height() const noexcept { return bottom - top; }
};

constexpr const char* kPlatformTypeX11EmbedWindowId = "X11EmbedWindowID";
constexpr const char* kPlatformTypeHwnd = "HWND";
// The one kind of view an editor controller makes.
constexpr const char* kViewTypeEditor = "editor";

class IPlugFrame;

class IPlugView : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult SLICECAST_VST3_CALL attached(void* parent, FIDString type) = 0;
    virtual tresult SLICECAST_VST3_CALL removed() = 0;
    virtual tresult SLICECAST_VST3_CALL onWheel(float distance) = 0;
    virtual tresult SLICECAST_VST3_CALL onKeyDown(char16 key, std::int16_t keyCode, std::int16_t modifiers) = 0;
    virtual tresult SLICECAST_VST3_CALL onKeyUp(char16 key, std::int16_t keyCode, std::int16_t modifiers) = 0;
    virtual tresult SLICECAST_VST3_CALL getSize(ViewRect* size) = 0;
    virtual tresult SLICECAST_VST3_CALL onSize(ViewRect* newSize) = 0;
    virtual tresult SLICECAST_VST3_CALL onFocus(TBool state) = 0;
    virtual tresult SLICECAST_VST3_CALL setFrame(IPlugFrame* frame) = 0;
    virtual tresult SLICECAST_VST3_CALL canResize() = 0;
    virtual tresult SLICECAST_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;

    static constexpr Uid iid = kIPlugViewIid;
};

class IPlugFrame : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;

    static constexpr Uid iid = uidOf(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
};

class IPlugViewContentScaleSupport : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL setContentScaleFactor(float factor) = 0;

    static constexpr Uid iid = uidOf(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
};

// Linux: what the host's run loop (vst3_abi.h) calls when the view's
// descriptor is readable.
class IEventHandler : public FUnknown {
public:
    virtual void SLICECAST_VST3_CALL onFDIsSet(int fd) = 0;

    static constexpr Uid iid = uidOf(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
};

static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4);
static_assert(offsetof(ViewRect, top) == 4 && offsetof(ViewRect, right) == 8 && offsetof(ViewRect, bottom) == 12);
static_assert(IPlugFrame::iid.bytes[0] == (kGuidByteOrder ? 0x01 : 0x36));
static_assert(IPlugViewContentScaleSupport::iid.bytes[8] == static_cast<char>(0x8A));

}  // namespace vst3
