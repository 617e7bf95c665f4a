// The six controls as the hand works them, in logical pixels and plain
// values (steps 0..11 and 0..4, percentages 0..100), whatever the format and
// the window system: a press, drag and release is one gesture; a press on a
// step cell picks that step and a drag moves across the cells; a press on a
// slider's track jumps there and a drag moves the value with the pointer,
// ten times finer while Shift is held; a wheel notch moves one step or 1 %;
// a double click returns to the default. Each edit reaches the edition
// through ParameterEdits, which turns it into its format's gesture calls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "editor_layout.h"
#include "parameter_tables.h"

namespace slicecast::editor {

// Where the controls' edits go: one begin, any number of changes, one end
// per gesture, for one parameter at a time.
class ParameterEdits {
public:
    virtual void beginEdit(ParameterIndex parameter) = 0;
    virtual void changeEdit(ParameterIndex parameter, double plain) = 0;
    virtual void endEdit(ParameterIndex parameter) = 0;

protected:
    ~ParameterEdits() = default;
};

struct Pointer {
    double x;
    double y;
    bool fine;  // Shift held
};

class EditorControls {
public:
    explicit EditorControls(ParameterEdits& edits) noexcept;

    // The value the host holds (automation, a loaded session, undo, or the
    // echo of our own edit). A control being dragged shows it too; the drag
    // goes on from where the pointer takes it.
    void setValue(ParameterIndex parameter, double plain) noexcept;
    double value(ParameterIndex parameter) const noexcept { return values_[parameter]; }
    // The control being dragged, if any.
    std::optional<ParameterIndex> dragged() const noexcept { return drag_ ? std::optional(drag_->parameter) : std::nullopt; }

    // clicks is 2 for the second press of a double click.
    void press(const Pointer& pointer, int clicks) noexcept;
    void move(const Pointer& pointer) noexcept;
    void release() noexcept;
    // notches > 0 up (more), < 0 down.
    void wheel(const Pointer& pointer, int notches) noexcept;
    // The window lost the pointer in the middle of a drag (closed, grabbed
    // away): the gesture ends where it is.
    void cancel() noexcept { release(); }

private:
    struct Drag {
        ParameterIndex parameter;
        bool follows;  // false after a double click: the value stays at the default
        bool fine;
        double anchorX;
        double anchorValue;
    };

    void setFromHand(ParameterIndex parameter, double plain) noexcept;
    void dragTo(const Pointer& pointer) noexcept;

    ParameterEdits& edits_;
    std::array<double, 6> values_;
    std::optional<Drag> drag_;
};

// The control whose name, track or value holds the point, if any.
std::optional<ParameterIndex> controlAt(double x, double y) noexcept;
// The step cell under x for a stepped control, clamped to its steps.
std::int32_t stepAt(const ControlLayout& control, double x) noexcept;
// The percentage under x on a slider's track, clamped to 0..100.
double percentAt(const ControlLayout& control, double x) noexcept;

}  // namespace slicecast::editor
