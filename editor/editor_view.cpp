#include "editor_view.h"

#include <cmath>

#include "canvas_painter.h"
#include "control_painting.h"

namespace slicecast::editor {

namespace {

constexpr double kSmallestScale = 0.5;
constexpr double kLargestScale = 4.0;

std::int32_t scaled(std::int32_t logical, double scale) {
    return static_cast<std::int32_t>(std::lround(logical * scale));
}

}  // namespace

EditorView::EditorView(EditorParameters& parameters, LivePicture* live)
    : parameters_(parameters), live_(live), controls_(parameters), canvas_(kLogicalWidth, kLogicalHeight) {
    takeHostValues();
}

EditorView::~EditorView() { close(); }

std::int32_t EditorView::width() const noexcept { return scaled(kLogicalWidth, scale_); }
std::int32_t EditorView::height() const noexcept { return scaled(kLogicalHeight, scale_); }

bool EditorView::open(NativeParent parent) {
    close();
    window_ = openEditorWindow(parent, width(), height(), *this, kTickMilliseconds);
    if (window_ == nullptr) return false;
    repaint();
    return true;
}

void EditorView::close() noexcept {
    // A drag the window takes with it ends as a gesture.
    controls_.cancel();
    window_.reset();
}

bool EditorView::setScale(double scale) {
    if (!(scale >= kSmallestScale && scale <= kLargestScale)) return false;
    if (scale == scale_) return true;
    scale_ = scale;
    canvas_ = picture::Canvas(width(), height());
    if (window_) window_->resize(width(), height());
    repaint();
    return true;
}

void EditorView::dispatchEvents() noexcept {
    if (window_) window_->dispatchEvents();
}

void EditorView::tick() noexcept {
    parameters_.ticked();
    const bool valuesMoved = takeHostValues();
    const bool pictureMoved = live_ != nullptr && live_->refresh();
    if (valuesMoved || pictureMoved) repaint();
    // Drawing may have left events behind in the window system's queue.
    dispatchEvents();
}

void EditorView::show() noexcept {
    if (window_) window_->show();
}

void EditorView::hide() noexcept {
    // A hidden window gets no release: the drag ends here.
    controls_.cancel();
    if (window_) window_->hide();
}

bool EditorView::takeHostValues() noexcept {
    bool moved = false;
    for (const ControlLayout& control : kControlLayouts) {
        const double before = controls_.value(control.parameter);
        controls_.setValue(control.parameter, parameters_.plainValue(control.parameter));
        moved = moved || controls_.value(control.parameter) != before;
    }
    return moved;
}

void EditorView::repaint() noexcept {
    picture::CanvasPainter painter(canvas_, scale_);
    paintBackground(painter);
    if (live_ != nullptr) live_->paint(painter, kPictureArea);
    paintControls(painter, controls_);
    if (window_) window_->present(canvas_.pixels(), canvas_.width(), canvas_.height());
}

void EditorView::pointerPressed(double x, double y, bool fine, int clicks) {
    controls_.press(logical(x, y, fine), clicks);
    repaint();
}

void EditorView::pointerMoved(double x, double y, bool fine) {
    if (!controls_.dragged()) return;
    controls_.move(logical(x, y, fine));
    repaint();
}

void EditorView::pointerReleased() {
    controls_.release();
    repaint();
}

void EditorView::wheelTurned(double x, double y, int notches) {
    controls_.wheel(logical(x, y, false), notches);
    repaint();
}

void EditorView::exposed() {
    if (window_) window_->present(canvas_.pixels(), canvas_.width(), canvas_.height());
}

}  // namespace slicecast::editor
