// The editor binary's one export: its descriptor, for the UI the bundle's
// .ttl names.
#include <lv2/ui/ui.h>

#include <cstring>

#include "lv2_identity.h"
#include "slicecast_lv2_ui.h"

namespace {

using slicecast::SlicecastLv2Ui;

SlicecastLv2Ui& editorOf(LV2UI_Handle handle) { return *static_cast<SlicecastLv2Ui*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (pluginUri == nullptr || std::strcmp(pluginUri, slicecast::kLv2PluginUri) != 0 || widget == nullptr) {
        return nullptr;
    }
    SlicecastLv2Ui* editor = SlicecastLv2Ui::create(write, controller, features);
    if (editor == nullptr) return nullptr;
    *widget = editor->widget();
    return editor;
}

void cleanup(LV2UI_Handle handle) { delete &editorOf(handle); }

void portEvent(LV2UI_Handle handle, std::uint32_t port, std::uint32_t size, std::uint32_t format,
               const void* buffer) {
    editorOf(handle).portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) { return editorOf(handle).idle(); }

const LV2UI_Idle_Interface kIdleInterface{&idle};

const void* extensionData(const char* uri) {
    return uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor{slicecast::kLv2EditorUri, &instantiate, &cleanup, &portEvent, &extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
