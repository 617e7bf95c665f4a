// The LV2 edition's editor, a binary of its own in the bundle: the host
// hands it the control ports' values and the plug-in's notify events, and
// it writes the control ports back through the host (with a touch around a
// drag where the host offers one). It tells the plug-in it is open with a
// message on the control port, again every second while it stays open
// (hosts may destroy it without a word), and that it closed. On X11 the
// host's idle calls run it; on Windows its window's own timer does.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

#include <lv2/atom/forge.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include "editor_view.h"
#include "lv2_editor_protocol.h"
#include "page_picture.h"

namespace slicecast {

class SlicecastLv2Ui final : private editor::EditorParameters {
public:
    // An editor inside parent, or null when the host gave no parent or no
    // urid:map, or the window cannot be made.
    static SlicecastLv2Ui* create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                  const LV2_Feature* const* features);
    ~SlicecastLv2Ui();

    LV2UI_Widget widget() const noexcept { return widget_; }
    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) noexcept;
    // The host's idle call: 0 to stay open.
    int idle() noexcept;

private:
    SlicecastLv2Ui(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map& map,
                   const LV2UI_Touch* touch, double scale);

    double plainValue(ParameterIndex parameter) const override;
    void beginEdit(ParameterIndex parameter) override;
    void changeEdit(ParameterIndex parameter, double plain) override;
    void endEdit(ParameterIndex parameter) override;
    // Tells the plug-in again, once a second, that the editor is open.
    void ticked() override;

    void say(EditorMessage message) noexcept;

    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_;
    EditorUrids urids_;
    LV2_URID eventTransfer_;
    LV2_URID_Map map_;
    std::array<double, 6> values_;
    editor::PagePicture picture_;
    editor::EditorView view_;
    LV2UI_Widget widget_ = nullptr;
    std::chrono::steady_clock::time_point lastShown_;
};

}  // namespace slicecast
