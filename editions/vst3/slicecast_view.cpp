#include "slicecast_view.h"

#include <cstring>
#include <new>

#include "slicecast_controller.h"

namespace slicecast {

namespace {

// The platform type of the window system the editor's window lives on.
const char* platformType() noexcept {
    return editor::kWindowSystem.drivenByHostLoop ? vst3::kPlatformTypeX11EmbedWindowId : vst3::kPlatformTypeHwnd;
}

}  // namespace

vst3::IPlugView* SlicecastView::create(SlicecastController& controller, SharedFeed* feed) noexcept {
    auto* view = new (std::nothrow) SlicecastView(controller, feed);
    if (view == nullptr && feed != nullptr) feed->release();
    return view;
}

namespace {

SummaryRing* ringOf(SharedFeed* feed) noexcept { return feed != nullptr ? &feed->feed().ring() : nullptr; }

}  // namespace

SlicecastView::SlicecastView(SlicecastController& controller, SharedFeed* feed) noexcept
    : controller_(controller), feed_(feed), picture_(ringOf(feed)), view_(*this, &picture_) {
    controllerReference_.reset(&controller);
}

SlicecastView::~SlicecastView() { leaveRunLoop(); }

// ---------------------------------------------------------------- FUnknown

vst3::tresult SlicecastView::queryInterface(const vst3::TUID interfaceId, void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::FUnknown::iid.matches(interfaceId) || vst3::IPlugView::iid.matches(interfaceId))
        *object = static_cast<vst3::IPlugView*>(this);
    else if (vst3::IPlugViewContentScaleSupport::iid.matches(interfaceId))
        *object = static_cast<vst3::IPlugViewContentScaleSupport*>(this);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 SlicecastView::addRef() noexcept { return references_.add(); }

vst3::uint32 SlicecastView::release() noexcept {
    const std::uint32_t left = references_.drop();
    if (left == 0) delete this;
    return left;
}

// ---------------------------------------------------------------- IPlugView

vst3::tresult SlicecastView::isPlatformTypeSupported(vst3::FIDString type) noexcept {
    return type != nullptr && std::strcmp(type, platformType()) == 0 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult SlicecastView::attached(void* parent, vst3::FIDString type) noexcept {
    if (parent == nullptr || isPlatformTypeSupported(type) != vst3::kResultTrue) return vst3::kResultFalse;
    leaveRunLoop();
    if (!view_.open(reinterpret_cast<editor::NativeParent>(parent))) return vst3::kResultFalse;
    shown_ = false;
    if (!editor::kWindowSystem.drivenByHostLoop) {
        view_.show();
        shown_ = true;
        return vst3::kResultOk;
    }
    // The frame is set by now in every order hosts call these in.
    void* found = nullptr;
    if (frame_.get() != nullptr && frame_.get()->queryInterface(vst3::IRunLoop::iid.data(), &found) == vst3::kResultOk &&
        found != nullptr) {
        auto* loop = static_cast<vst3::IRunLoop*>(found);
        runLoop_.reset(loop);
        loop->release();
        loopHandler_ = new (std::nothrow) ViewLoopHandler(*this);
        if (loopHandler_ != nullptr) {
            loop->registerEventHandler(loopHandler_, view_.eventDescriptor());
            loop->registerTimer(loopHandler_, editor::kTickMilliseconds);
        }
    }
    return vst3::kResultOk;
}

vst3::tresult SlicecastView::removed() noexcept {
    // Also for a view never attached, and with the frame withdrawn or not.
    leaveRunLoop();
    view_.close();
    return vst3::kResultOk;
}

void SlicecastView::leaveRunLoop() noexcept {
    if (loopHandler_ != nullptr) {
        runLoop_.get()->unregisterEventHandler(loopHandler_);
        runLoop_.get()->unregisterTimer(loopHandler_);
        loopHandler_->forget();
        loopHandler_->release();
        loopHandler_ = nullptr;
    }
    runLoop_.reset();
}

// The wheel and keys reach the window itself; what the host forwards is
// left to the host.
vst3::tresult SlicecastView::onWheel(float) noexcept { return vst3::kResultFalse; }

vst3::tresult SlicecastView::onKeyDown(vst3::char16, std::int16_t, std::int16_t) noexcept { return vst3::kResultFalse; }

vst3::tresult SlicecastView::onKeyUp(vst3::char16, std::int16_t, std::int16_t) noexcept { return vst3::kResultFalse; }

vst3::ViewRect SlicecastView::rect() const noexcept { return {0, 0, view_.width(), view_.height()}; }

vst3::tresult SlicecastView::getSize(vst3::ViewRect* size) noexcept {
    if (size == nullptr) return vst3::kInvalidArgument;
    *size = rect();
    return vst3::kResultTrue;
}

// One size at each scale: whatever the host's window does, the editor keeps it.
vst3::tresult SlicecastView::onSize(vst3::ViewRect* newSize) noexcept {
    return newSize != nullptr ? vst3::kResultTrue : vst3::kInvalidArgument;
}

vst3::tresult SlicecastView::onFocus(vst3::TBool) noexcept { return vst3::kResultFalse; }

vst3::tresult SlicecastView::setFrame(vst3::IPlugFrame* frame) noexcept {
    frame_.reset(frame);
    return vst3::kResultTrue;
}

vst3::tresult SlicecastView::canResize() noexcept { return vst3::kResultFalse; }

vst3::tresult SlicecastView::checkSizeConstraint(vst3::ViewRect* size) noexcept {
    if (size == nullptr) return vst3::kInvalidArgument;
    const vst3::ViewRect fixed = rect();
    const bool acceptable = size->width() == fixed.width() && size->height() == fixed.height();
    size->right = size->left + fixed.width();
    size->bottom = size->top + fixed.height();
    return acceptable ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult SlicecastView::setContentScaleFactor(float factor) noexcept {
    const bool changed = factor != view_.scale();
    if (!view_.setScale(factor)) return vst3::kResultFalse;
    // The host learns the new size through its frame; it answers with
    // onSize inside the call.
    if (changed && view_.isOpen() && frame_.get() != nullptr && !resizing_) {
        resizing_ = true;
        vst3::ViewRect size = rect();
        frame_.get()->resizeView(this, &size);
        resizing_ = false;
    }
    return vst3::kResultTrue;
}

// ---------------------------------------------------------------- run loop

vst3::tresult ViewLoopHandler::queryInterface(const vst3::TUID interfaceId, void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::FUnknown::iid.matches(interfaceId) || vst3::IEventHandler::iid.matches(interfaceId))
        *object = static_cast<vst3::IEventHandler*>(this);
    else if (vst3::ITimerHandler::iid.matches(interfaceId))
        *object = static_cast<vst3::ITimerHandler*>(this);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 ViewLoopHandler::release() noexcept {
    const std::uint32_t left = references_.drop();
    if (left == 0) delete this;
    return left;
}

void ViewLoopHandler::onFDIsSet(int) noexcept {
    if (view_ != nullptr) view_->eventsWaiting();
}

void ViewLoopHandler::onTimer() noexcept {
    if (view_ != nullptr) view_->timerFired();
}

void SlicecastView::eventsWaiting() noexcept { view_.dispatchEvents(); }

void SlicecastView::timerFired() noexcept {
    if (!shown_ && view_.isOpen()) {
        view_.show();
        shown_ = true;
    }
    view_.tick();
}

// ---------------------------------------------------------------- edits

double SlicecastView::plainValue(ParameterIndex parameter) const { return controller_.plainValue(parameter); }

void SlicecastView::beginEdit(ParameterIndex parameter) {
    if (vst3::IComponentHandler* handler = controller_.componentHandler()) handler->beginEdit(parameter);
}

void SlicecastView::changeEdit(ParameterIndex parameter, double plain) {
    const vst3::ParamValue normalized = controller_.plainParamToNormalized(parameter, plain);
    controller_.setParamNormalized(parameter, normalized);
    if (vst3::IComponentHandler* handler = controller_.componentHandler()) handler->performEdit(parameter, normalized);
}

void SlicecastView::endEdit(ParameterIndex parameter) {
    if (vst3::IComponentHandler* handler = controller_.componentHandler()) handler->endEdit(parameter);
}

}  // namespace slicecast
