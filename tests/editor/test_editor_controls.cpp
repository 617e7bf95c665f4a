// The controls worked by hand: what each press, drag, release, wheel notch
// and double click sends as gestures, and where the values end.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "editor_controls.h"

namespace {

using slicecast::ParameterIndex;
using namespace slicecast::editor;

// Every edit as a word: "b2" begins parameter 2, "c2=35" changes it, "e2"
// ends it.
class EditLog : public ParameterEdits {
public:
    void beginEdit(ParameterIndex p) override { out << "b" << p << " "; }
    void changeEdit(ParameterIndex p, double plain) override { out << "c" << p << "=" << plain << " "; }
    void endEdit(ParameterIndex p) override { out << "e" << p << " "; }
    std::ostringstream out;
};

// The middle of a control's track at a fraction of its width, or of one of
// its step cells.
Pointer onTrack(ParameterIndex p, double fraction, bool fine = false) {
    const Rect& track = kControlLayouts[p].track;
    return {track.x + fraction * track.width, track.y + track.height / 2.0, fine};
}
Pointer onCell(ParameterIndex p, int step) {
    const ControlLayout& control = kControlLayouts[p];
    return onTrack(p, (step + 0.5) / control.steps);
}
Pointer onName(ParameterIndex p) {
    const Rect& name = kControlLayouts[p].name;
    return {name.x + 2.0, name.y + 2.0, false};
}

// A value as the log writes it.
std::string text(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

struct Event {
    enum Kind { press, doublePress, move, release, wheel } kind;
    Pointer pointer;
    int notches = 0;
};

struct Case {
    const char* what;
    std::vector<Event> events;
    std::string edits;
    ParameterIndex parameter;
    double finalValue;
};

}  // namespace

TEST(EditorControls, GesturesAndValuesFromTheHand) {
    using slicecast::kDecayRate;
    using slicecast::kMix;
    using slicecast::kRate;
    using slicecast::kUpdatePeriod;
    using slicecast::kWaveLength;
    const double perPixel = 100.0 / kControlLayouts[kRate].track.width;
    const Case cases[] = {
        {"a click on a step cell", {{Event::press, onCell(kWaveLength, 9)}, {Event::release, {}}}, "b0 c0=9 e0 ",
         kWaveLength, 9},
        {"a drag across the cells",
         {{Event::press, onCell(kUpdatePeriod, 0)}, {Event::move, onCell(kUpdatePeriod, 1)},
          {Event::move, onCell(kUpdatePeriod, 1)}, {Event::move, onTrack(kUpdatePeriod, 5.0)}, {Event::release, {}}},
         "b1 c1=0 c1=1 c1=4 e1 ", kUpdatePeriod, 4},
        {"a click on the step already set changes nothing",
         {{Event::press, onCell(kWaveLength, 5)}, {Event::release, {}}}, "b0 e0 ", kWaveLength, 5},
        {"a slider jumps to the click and follows the drag",
         {{Event::press, onTrack(kMix, 0.25)}, {Event::move, onTrack(kMix, 0.5)}, {Event::move, onTrack(kMix, 2.0)},
          {Event::release, {}}},
         "b5 c5=25 c5=50 c5=100 e5 ", kMix, 100},
        {"Shift makes a drag ten times finer, from where the value is",
         {{Event::press, onTrack(kRate, 0.5)}, {Event::move, onTrack(kRate, 0.5, true)},
          {Event::move, {onTrack(kRate, 0.5).x + 10.0, 0.0, true}}, {Event::release, {}}},
         "b2 c2=50 c2=" + text(50.0 + perPixel) + " e2 ", kRate, 50.0 + perPixel},
        {"a drag from the name moves without a jump",
         {{Event::press, onName(kDecayRate)}, {Event::move, {onName(kDecayRate).x - 1000.0, 0.0, false}},
          {Event::release, {}}},
         "b4 c4=0 e4 ", kDecayRate, 0},
        {"the wheel moves a step or 1 %",
         {{Event::wheel, onCell(kWaveLength, 0), 1}, {Event::wheel, onTrack(kRate, 0.1), -3}},
         "b0 c0=6 e0 b2 c2=67 e2 ", kRate, 67},
        {"a double click returns to the default and holds it",
         {{Event::press, onTrack(kRate, 0.9)}, {Event::release, {}}, {Event::doublePress, onTrack(kRate, 0.9)},
          {Event::move, onTrack(kRate, 0.2)}, {Event::release, {}}},
         "b2 c2=90 e2 b2 c2=70 e2 ", kRate, 70},
        {"nothing happens outside the controls",
         {{Event::press, {400.0, 100.0, false}}, {Event::move, onTrack(kMix, 0.5)}, {Event::release, {}},
          {Event::wheel, {400.0, 100.0, false}, 1}},
         "", kMix, 100},
    };
    for (const Case& c : cases) {
        EditLog log;
        EditorControls controls(log);
        for (const Event& event : c.events) {
            switch (event.kind) {
                case Event::press: controls.press(event.pointer, 1); break;
                case Event::doublePress: controls.press(event.pointer, 2); break;
                case Event::move: controls.move(event.pointer); break;
                case Event::release: controls.release(); break;
                case Event::wheel: controls.wheel(event.pointer, event.notches); break;
            }
        }
        EXPECT_EQ(log.out.str(), c.edits) << c.what;
        EXPECT_DOUBLE_EQ(controls.value(c.parameter), c.finalValue) << c.what;
        EXPECT_FALSE(controls.dragged()) << c.what;
    }
}

TEST(EditorControls, HostValuesMoveTheControlsWithinTheirRanges) {
    EditLog log;
    EditorControls controls(log);
    controls.setValue(slicecast::kWaveLength, 40.0);
    controls.setValue(slicecast::kMix, -3.0);
    controls.setValue(slicecast::kRate, std::nan(""));
    EXPECT_EQ(controls.value(slicecast::kWaveLength), 11.0);
    EXPECT_EQ(controls.value(slicecast::kMix), 0.0);
    EXPECT_EQ(controls.value(slicecast::kRate), 70.0);
    EXPECT_EQ(log.out.str(), "") << "the host's own changes are not sent back";
}

TEST(EditorControls, EveryControlLiesInsideTheWindowAndApartFromTheOthers) {
    const Rect window{0, 0, kLogicalWidth, kLogicalHeight};
    for (const ControlLayout& control : kControlLayouts) {
        for (const Rect& part : {control.name, control.track}) {
            EXPECT_TRUE(window.contains(part.x, part.y) && part.right() <= kLogicalWidth &&
                        part.y + part.height <= kLogicalHeight)
                << control.parameter;
            EXPECT_EQ(controlAt(part.x + 1.0, part.y + 1.0), control.parameter);
        }
        EXPECT_FALSE(control.track.contains(kPictureArea.x + 1, kPictureArea.y + kPictureArea.height - 1));
    }
}
