// One open editor: its window, its controls and its pixels, at the host's
// display scale. Everything runs on the host's UI thread, driven by the
// edition from its host's loop: dispatchEvents when the window's descriptor
// is readable, tick from a timer (at least 30 times a second), which also
// takes in the values the host changed and the sound's live picture, and
// repaints only what moved.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "canvas.h"
#include "editor_controls.h"
#include "editor_window.h"
#include "painter.h"

namespace slicecast::editor {

// What the editor reads and writes of its edition's parameters: the plain
// values the host holds now, and the edits of the hand.
class EditorParameters : public ParameterEdits {
public:
    virtual double plainValue(ParameterIndex parameter) const = 0;
    // Each tick of the editor's timer, before it looks at the values: for
    // chores of the edition's own.
    virtual void ticked() {}

protected:
    ~EditorParameters() = default;
};

// The live picture of what the sound did, drawn into the picture area.
class LivePicture {
public:
    // Takes in what the sound did since the last call; true when the
    // picture changed.
    virtual bool refresh() = 0;
    virtual void paint(picture::Painter& painter, const Rect& area) const = 0;

protected:
    ~LivePicture() = default;
};

// How often an editor wants its tick, in milliseconds.
constexpr std::int32_t kTickMilliseconds = 25;

class EditorView final : private WindowEvents {
public:
    // live may be null: the picture area then stays empty.
    EditorView(EditorParameters& parameters, LivePicture* live);
    ~EditorView();
    EditorView(const EditorView&) = delete;
    EditorView& operator=(const EditorView&) = delete;

    // The window inside parent, shown at once or when the host maps it;
    // false if the window system cannot make it.
    bool open(NativeParent parent);
    void close() noexcept;
    bool isOpen() const noexcept { return window_ != nullptr; }

    // The host's display scale, 1 for 100 %; sizes follow it. False for a
    // scale the editor cannot draw at (not a number, or outside 0.5..4).
    bool setScale(double scale);
    double scale() const noexcept { return scale_; }
    std::int32_t width() const noexcept;
    std::int32_t height() const noexcept;

    // The editor's own window, 0 while none is open.
    NativeParent nativeWindow() const noexcept { return window_ ? window_->native() : 0; }
    int eventDescriptor() const noexcept { return window_ ? window_->eventDescriptor() : -1; }
    void dispatchEvents() noexcept;
    void tick() noexcept;
    void show() noexcept;
    void hide() noexcept;

    // The pixels as last painted, for a screenshot.
    const picture::Canvas& canvas() const noexcept { return canvas_; }
    const EditorControls& controls() const noexcept { return controls_; }

private:
    void pointerPressed(double x, double y, bool fine, int clicks) override;
    void pointerMoved(double x, double y, bool fine) override;
    void pointerReleased() override;
    void wheelTurned(double x, double y, int notches) override;
    void exposed() override;
    void ticked() override { tick(); }

    Pointer logical(double x, double y, bool fine) const noexcept { return {x / scale_, y / scale_, fine}; }
    bool takeHostValues() noexcept;
    void repaint() noexcept;

    EditorParameters& parameters_;
    LivePicture* live_;
    EditorControls controls_;
    double scale_ = 1.0;
    picture::Canvas canvas_;
    std::unique_ptr<EditorWindow> window_;
};

}  // namespace slicecast::editor
