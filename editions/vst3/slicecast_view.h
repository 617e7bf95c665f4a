// The VST 3 edition's editor: one view per createView, each with a counted
// reference to its controller, which it reads the values from and edits
// through (the controller's own value set, and the host's component handler
// told of every gesture). On Linux its window runs on the host's run loop,
// found through the frame when the view is attached; without one the
// picture stays as first drawn, and no thread of its own ever runs. Every
// call comes from the host's UI thread.
#pragma once

#include "editor_view.h"
#include "page_picture.h"
#include "summary_handover.h"
#include "held_reference.h"
#include "reference_count.h"
#include "vst3_view_abi.h"

namespace slicecast {

class SlicecastController;

class SlicecastView;

// What the host's run loop calls for a view: an object of its own, so that
// the references a host keeps to it while it is registered never keep the
// view alive (a host that releases a view without removing it would
// otherwise leak both). The view unregisters it, and cuts it loose, when
// it goes.
class ViewLoopHandler final : public vst3::IEventHandler, public vst3::ITimerHandler {
public:
    explicit ViewLoopHandler(SlicecastView& view) noexcept : view_(&view) {}

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() noexcept override { return references_.add(); }
    vst3::uint32 SLICECAST_VST3_CALL release() noexcept override;

    void SLICECAST_VST3_CALL onFDIsSet(int fd) noexcept override;
    void SLICECAST_VST3_CALL onTimer() noexcept override;

    void forget() noexcept { view_ = nullptr; }

private:
    ~ViewLoopHandler() = default;

    ReferenceCount references_;
    SlicecastView* view_;
};

class SlicecastView final : public vst3::IPlugView,
                            public vst3::IPlugViewContentScaleSupport,
                            private editor::EditorParameters {
public:
    // A new view with one reference, or null when no storage can be had.
    // Its picture reads the sound's summaries from the feed the processor
    // handed over, and keeps it alive while it lives (the view takes over
    // the caller's reference to it); with none it draws no waveform.
    static vst3::IPlugView* create(SlicecastController& controller, SharedFeed* feed) noexcept;

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL release() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL isPlatformTypeSupported(vst3::FIDString type) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL attached(void* parent, vst3::FIDString type) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL removed() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL onWheel(float distance) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL onKeyDown(vst3::char16 key, std::int16_t keyCode,
                                                std::int16_t modifiers) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL onKeyUp(vst3::char16 key, std::int16_t keyCode,
                                              std::int16_t modifiers) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getSize(vst3::ViewRect* size) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL onSize(vst3::ViewRect* newSize) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL onFocus(vst3::TBool state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setFrame(vst3::IPlugFrame* frame) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL canResize() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL checkSizeConstraint(vst3::ViewRect* rect) noexcept override;

    vst3::tresult SLICECAST_VST3_CALL setContentScaleFactor(float factor) noexcept override;

    // The run loop's calls, through the view's loop handler.
    void eventsWaiting() noexcept;
    void timerFired() noexcept;

private:
    SlicecastView(SlicecastController& controller, SharedFeed* feed) noexcept;
    ~SlicecastView();

    double plainValue(ParameterIndex parameter) const override;
    void beginEdit(ParameterIndex parameter) override;
    void changeEdit(ParameterIndex parameter, double plain) override;
    void endEdit(ParameterIndex parameter) override;

    void leaveRunLoop() noexcept;
    vst3::ViewRect rect() const noexcept;

    ReferenceCount references_;
    SlicecastController& controller_;
    HeldReference<vst3::IEditController> controllerReference_;
    HeldReference<vst3::IPlugFrame> frame_;
    HeldReference<vst3::IRunLoop> runLoop_;
    ViewLoopHandler* loopHandler_ = nullptr;
    HeldFeed feed_;
    editor::PagePicture picture_;
    editor::EditorView view_;
    // Shown at the first tick after attached: a host that embeds the
    // window maps it itself and wants it unmapped until then.
    bool shown_ = false;
    bool resizing_ = false;
};

}  // namespace slicecast
