#include "editor_controls.h"

#include <algorithm>
#include <cmath>

#include "plain_parameters.h"

namespace slicecast::editor {

namespace {

// A drag with Shift held moves the value this many times more slowly.
constexpr double kFineDivisor = 10.0;
// What one wheel notch moves a percentage.
constexpr double kWheelPercent = 1.0;

bool isStepped(ParameterIndex parameter) noexcept { return plainRanges[parameter].stepped; }

double clampToRange(ParameterIndex parameter, double plain) noexcept {
    const PlainRange& range = plainRanges[parameter];
    return std::clamp(plain, range.minimum, range.maximum);
}

}  // namespace

std::optional<ParameterIndex> controlAt(double x, double y) noexcept {
    for (const ControlLayout& control : kControlLayouts) {
        if (control.name.contains(x, y) || control.track.contains(x, y) || control.value.contains(x, y)) {
            return control.parameter;
        }
    }
    return std::nullopt;
}

std::int32_t stepAt(const ControlLayout& control, double x) noexcept {
    const double cell = static_cast<double>(control.track.width) / control.steps;
    const double step = std::floor((x - control.track.x) / cell);
    return static_cast<std::int32_t>(std::clamp(step, 0.0, static_cast<double>(control.steps - 1)));
}

double percentAt(const ControlLayout& control, double x) noexcept {
    return std::clamp((x - control.track.x) * 100.0 / control.track.width, 0.0, 100.0);
}

EditorControls::EditorControls(ParameterEdits& edits) noexcept : edits_(edits), values_(kDefaultPlainValues) {}

void EditorControls::setValue(ParameterIndex parameter, double plain) noexcept {
    if (!std::isnan(plain)) values_[parameter] = clampToRange(parameter, plain);
}

void EditorControls::setFromHand(ParameterIndex parameter, double plain) noexcept {
    const double settled = clampToRange(parameter, isStepped(parameter) ? std::round(plain) : plain);
    if (settled == values_[parameter]) return;
    values_[parameter] = settled;
    edits_.changeEdit(parameter, settled);
}

void EditorControls::press(const Pointer& pointer, int clicks) noexcept {
    if (drag_) release();
    const std::optional<ParameterIndex> parameter = controlAt(pointer.x, pointer.y);
    if (!parameter) return;
    const ControlLayout& control = kControlLayouts[*parameter];
    edits_.beginEdit(*parameter);
    if (clicks >= 2) {
        // The default, and no drag after it: the gesture ends at release.
        setFromHand(*parameter, plainRanges[*parameter].defaultValue);
        drag_ = Drag{*parameter, false, pointer.fine, pointer.x, values_[*parameter]};
        return;
    }
    if (control.track.contains(pointer.x, pointer.y)) {
        setFromHand(*parameter, isStepped(*parameter) ? stepAt(control, pointer.x) : percentAt(control, pointer.x));
    }
    drag_ = Drag{*parameter, true, pointer.fine, pointer.x, values_[*parameter]};
}

void EditorControls::move(const Pointer& pointer) noexcept {
    if (drag_ && drag_->follows) dragTo(pointer);
}

void EditorControls::dragTo(const Pointer& pointer) noexcept {
    Drag& drag = *drag_;
    const ControlLayout& control = kControlLayouts[drag.parameter];
    if (isStepped(drag.parameter)) {
        setFromHand(drag.parameter, stepAt(control, pointer.x));
        return;
    }
    // Shift pressed or let go in the middle of a drag: the value goes on from
    // where it is, at the new speed, rather than jumping.
    if (pointer.fine != drag.fine) drag = Drag{drag.parameter, true, pointer.fine, pointer.x, values_[drag.parameter]};
    const double perPixel = 100.0 / control.track.width / (drag.fine ? kFineDivisor : 1.0);
    setFromHand(drag.parameter, drag.anchorValue + (pointer.x - drag.anchorX) * perPixel);
}

void EditorControls::release() noexcept {
    if (!drag_) return;
    const ParameterIndex parameter = drag_->parameter;
    drag_.reset();
    edits_.endEdit(parameter);
}

void EditorControls::wheel(const Pointer& pointer, int notches) noexcept {
    const std::optional<ParameterIndex> parameter = controlAt(pointer.x, pointer.y);
    if (!parameter || notches == 0 || drag_) return;
    const double step = isStepped(*parameter) ? 1.0 : kWheelPercent;
    edits_.beginEdit(*parameter);
    setFromHand(*parameter, values_[*parameter] + notches * step);
    edits_.endEdit(*parameter);
}

}  // namespace slicecast::editor
