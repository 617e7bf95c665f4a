#include "control_painting.h"

#include <cmath>
#include <string>

#include "control_texts.h"
#include "font.h"
#include "slicecast_identity.h"

namespace slicecast::editor {

namespace {

using picture::Colour;

struct Palette {
    Colour background;
    Colour panel;
    Colour text;
    Colour faintText;
    Colour cell;
    Colour chosenCell;
    Colour track;
    Colour filledTrack;
    Colour lit;
};
constexpr Palette kPalette{
    {24, 26, 31},     // background
    {34, 37, 44},     // panel
    {226, 230, 236},  // text
    {140, 147, 160},  // faintText
    {46, 50, 59},     // cell
    {226, 150, 54},   // chosenCell
    {52, 56, 66},     // track
    {226, 150, 54},   // filledTrack
    {255, 196, 110},  // lit: the control in the hand
};

constexpr double kTitleSize = 18.0;
constexpr double kTextSize = 13.0;

double baselineIn(const Rect& box, double size) {
    const auto& font = picture::Font::sans();
    const double ascent = font.ascent(static_cast<float>(size));
    const double descent = font.descent(static_cast<float>(size));
    return box.y + (box.height + ascent + descent) / 2.0;
}

void textIn(picture::Painter& painter, const Rect& box, const std::string& text, Colour colour, bool centred) {
    const double width = picture::Font::sans().advance(text, static_cast<float>(kTextSize));
    const double x = centred ? box.x + (box.width - width) / 2.0 : box.x;
    painter.text(x, baselineIn(box, kTextSize), kTextSize, text, colour);
}

void paintStepRow(picture::Painter& painter, const ControlLayout& control, std::int32_t chosen, bool lit) {
    const std::int32_t cell = control.track.width / control.steps;
    for (std::int32_t step = 0; step < control.steps; ++step) {
        const Rect box{control.track.x + step * cell, control.track.y, cell, control.track.height};
        const bool isChosen = step == chosen;
        painter.fill(box.x + 1, box.y, box.width - 2, box.height,
                     isChosen ? (lit ? kPalette.lit : kPalette.chosenCell) : kPalette.cell);
        textIn(painter, box, stepText(control.parameter, step), isChosen ? kPalette.background : kPalette.text, true);
    }
}

void paintSlider(picture::Painter& painter, const ControlLayout& control, double percent, bool lit) {
    const Rect& track = control.track;
    const std::int32_t barTop = track.y + track.height / 2 - 3;
    painter.fill(track.x, barTop, track.width, 6, kPalette.track);
    const auto filled = static_cast<std::int32_t>(std::lround(percent / 100.0 * track.width));
    painter.fill(track.x, barTop, filled, 6, lit ? kPalette.lit : kPalette.filledTrack);
    const std::int32_t knob = track.x + filled - 2;
    painter.fill(knob, track.y + 4, 4, track.height - 8, lit ? kPalette.lit : kPalette.text);
}

}  // namespace

void paintBackground(picture::Painter& painter) {
    painter.fill(0, 0, kLogicalWidth, kLogicalHeight, kPalette.background);
    painter.fill(kPictureArea.x, kPictureArea.y, kPictureArea.width, kPictureArea.height, kPalette.panel);
    const double baseline = baselineIn(kTitleArea, kTitleSize);
    painter.text(kTitleArea.x, baseline, kTitleSize, kEffectName, kPalette.text);
    const double vendorWidth = picture::Font::sans().advance(kVendorString, static_cast<float>(kTextSize));
    painter.text(kTitleArea.right() - vendorWidth, baseline, kTextSize, kVendorString, kPalette.faintText);
}

void paintControls(picture::Painter& painter, const EditorControls& controls) {
    for (const ControlLayout& control : kControlLayouts) {
        const double value = controls.value(control.parameter);
        const bool lit = controls.dragged() == control.parameter;
        textIn(painter, control.name, parameterTexts[control.parameter].name, kPalette.faintText, false);
        if (control.steps > 0) {
            paintStepRow(painter, control, static_cast<std::int32_t>(value), lit);
        } else {
            paintSlider(painter, control, value, lit);
            textIn(painter, control.value, controlText(control.parameter, value), kPalette.text, false);
        }
    }
}

}  // namespace slicecast::editor
