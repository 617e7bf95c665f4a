#include "slicecast_lv2_ui.h"

#include <cstring>

#include <lv2/atom/util.h>
#include <lv2/options/options.h>

#include "lv2_ports.h"
#include "plain_parameters.h"

namespace slicecast {

namespace {

// How often the editor tells the plug-in again that it is open: well
// within the time the plug-in waits before it counts it as gone.
constexpr std::chrono::seconds kShownEvery{1};
static_assert(kEditorTimeoutSeconds > 2.0 * kShownEvery.count());

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    for (const LV2_Feature* const* feature = features; feature != nullptr && *feature != nullptr; ++feature) {
        if (std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
    }
    return nullptr;
}

// The display scale a host tells in its options; 0 for none.
double scaleOf(const LV2_Options_Option* options, const LV2_URID_Map& map) {
    const LV2_URID scaleFactor = map.map(map.handle, LV2_UI__scaleFactor);
    const LV2_URID atomFloat = map.map(map.handle, LV2_ATOM__Float);
    for (const LV2_Options_Option* option = options; option != nullptr && option->key != 0; ++option) {
        if (option->key == scaleFactor && option->type == atomFloat && option->size == sizeof(float) &&
            option->value != nullptr) {
            float scale = 0.0f;
            std::memcpy(&scale, option->value, sizeof scale);
            return scale;
        }
    }
    return 0.0;
}

std::uint32_t portOf(ParameterIndex parameter) { return kPortFirstParameter + static_cast<std::uint32_t>(parameter); }

}  // namespace

SlicecastLv2Ui* SlicecastLv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                       const LV2_Feature* const* features) {
    const void* parent = featureData(features, LV2_UI__parent);
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    if (parent == nullptr || map == nullptr || write == nullptr) return nullptr;
    const auto* touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    const auto* options = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    auto* editor = new SlicecastLv2Ui(write, controller, *map, touch, scaleOf(options, *map));
    if (!editor->view_.open(reinterpret_cast<editor::NativeParent>(parent))) {
        delete editor;
        return nullptr;
    }
    editor->view_.show();
    // Hosts size their window to what the editor asks for.
    if (const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize))) {
        resize->ui_resize(resize->handle, editor->view_.width(), editor->view_.height());
    }
    // The widget of a native UI is its own window.
    editor->widget_ = reinterpret_cast<LV2UI_Widget>(editor->view_.nativeWindow());
    editor->say(EditorMessage::shown);
    return editor;
}

SlicecastLv2Ui::SlicecastLv2Ui(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map& map,
                               const LV2UI_Touch* touch, double scale)
    : write_(write),
      controller_(controller),
      touch_(touch),
      urids_(EditorUrids::mapped(map)),
      eventTransfer_(map.map(map.handle, LV2_ATOM__eventTransfer)),
      map_(map),
      values_(kDefaultPlainValues),
      view_(*this, &picture_) {
    if (scale > 0.0) view_.setScale(scale);
}

SlicecastLv2Ui::~SlicecastLv2Ui() {
    view_.close();
    say(EditorMessage::hidden);
}

void SlicecastLv2Ui::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                               const void* buffer) noexcept {
    if (buffer == nullptr) return;
    if (format == 0 && size == sizeof(float) && port >= kPortFirstParameter &&
        port < kPortFirstParameter + values_.size()) {
        float value = 0.0f;
        std::memcpy(&value, buffer, sizeof value);
        values_[port - kPortFirstParameter] = value;
    } else if (format == eventTransfer_ && port == kPortNotify && size >= sizeof(LV2_Atom)) {
        const auto* atom = static_cast<const LV2_Atom*>(buffer);
        if (lv2_atom_total_size(atom) > size) return;
        if (const std::optional<SummaryRecord> record = summaryOf(*atom, urids_)) picture_.take(*record);
    }
}

int SlicecastLv2Ui::idle() noexcept {
    view_.dispatchEvents();
    view_.tick();
    return 0;
}

void SlicecastLv2Ui::ticked() {
    if (std::chrono::steady_clock::now() - lastShown_ >= kShownEvery) say(EditorMessage::shown);
}

void SlicecastLv2Ui::say(EditorMessage message) noexcept {
    if (message == EditorMessage::shown) lastShown_ = std::chrono::steady_clock::now();
    alignas(LV2_Atom) std::uint8_t buffer[128];
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, &map_);
    lv2_atom_forge_set_buffer(&forge, buffer, sizeof buffer);
    const LV2_Atom_Forge_Ref written = forgeEditorMessage(forge, urids_, message);
    if (written == 0) return;
    const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer);
    write_(controller_, kPortControl, lv2_atom_total_size(atom), eventTransfer_, atom);
}

double SlicecastLv2Ui::plainValue(ParameterIndex parameter) const { return values_[parameter]; }

void SlicecastLv2Ui::beginEdit(ParameterIndex parameter) {
    if (touch_ != nullptr) touch_->touch(touch_->handle, portOf(parameter), true);
}

void SlicecastLv2Ui::changeEdit(ParameterIndex parameter, double plain) {
    values_[parameter] = plain;
    const auto value = static_cast<float>(plain);
    write_(controller_, portOf(parameter), sizeof value, 0, &value);
}

void SlicecastLv2Ui::endEdit(ParameterIndex parameter) {
    if (touch_ != nullptr) touch_->touch(touch_->handle, portOf(parameter), false);
}

}  // namespace slicecast
