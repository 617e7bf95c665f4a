#include "lv2_ui.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <optional>
#include <vector>

#include "lilv_world.h"
#include "shared_library.h"

namespace lv2host {

namespace {

struct UiLocation {
    std::string uri;
    std::string binary;
    std::string bundle;
};

std::string pathOf(const LilvNode* uri) {
    char* path = lilv_file_uri_parse(lilv_node_as_uri(uri), nullptr);
    std::string text = path != nullptr ? path : "";
    lilv_free(path);
    return text;
}

std::optional<UiLocation> findUi(const Lv2Plugin& plugin, const std::string& uiClass) {
    const Lv2Plugin::World& world = plugin.world();
    LilvUIs* uis = lilv_plugin_get_uis(world.plugin);
    LilvNode* wanted = lilv_new_uri(world.world, uiClass.c_str());
    std::optional<UiLocation> found;
    LILV_FOREACH (uis, i, uis) {
        const LilvUI* ui = lilv_uis_get(uis, i);
        if (!lilv_ui_is_a(ui, wanted)) continue;
        found = UiLocation{lilv_node_as_uri(lilv_ui_get_uri(ui)), pathOf(lilv_ui_get_binary_uri(ui)),
                           pathOf(lilv_ui_get_bundle_uri(ui))};
        break;
    }
    lilv_node_free(wanted);
    lilv_uis_free(uis);
    return found;
}

}  // namespace

struct Lv2Ui::Loaded {
    Lv2UiCallbacks callbacks;
    pluginhost::SharedLibrary library;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle handle = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    LV2UI_Touch touch{};
    LV2UI_Resize resize{};
    std::pair<std::int32_t, std::int32_t> size{0, 0};
    float scale = 0.0f;
    std::vector<LV2_Options_Option> options;

    Loaded(Lv2UiCallbacks given, const std::string& binary) : callbacks(std::move(given)), library(binary) {}

    static void write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                      const void* buffer) {
        static_cast<Loaded*>(controller)->callbacks.write(port, size, format, buffer);
    }
    static void touched(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed) {
        static_cast<Loaded*>(handle)->callbacks.touch(port, grabbed);
    }
    static int resized(LV2UI_Feature_Handle handle, int width, int height) {
        static_cast<Loaded*>(handle)->size = {width, height};
        return 0;
    }
};

bool Lv2Ui::available(const Lv2Plugin& plugin, const std::string& uiClass) {
    return findUi(plugin, uiClass).has_value();
}

Lv2Ui::Lv2Ui(const Lv2Plugin& plugin, const std::string& uiClass, std::uintptr_t parent, UridMap& map,
             double scale, Lv2UiCallbacks callbacks) {
    const std::optional<UiLocation> ui = findUi(plugin, uiClass);
    if (!ui) throw Lv2HostError(plugin.uri() + " names no UI of class " + uiClass);
    loaded_ = std::make_unique<Loaded>(std::move(callbacks), ui->binary);
    using DescriptorFunction = const LV2UI_Descriptor* (*)(std::uint32_t);
    const auto descriptorOf = reinterpret_cast<DescriptorFunction>(loaded_->library.symbol("lv2ui_descriptor"));
    if (descriptorOf == nullptr) throw Lv2HostError(ui->binary + " has no lv2ui_descriptor");
    for (std::uint32_t index = 0; (loaded_->descriptor = descriptorOf(index)) != nullptr; ++index) {
        if (loaded_->descriptor->URI != nullptr && ui->uri == loaded_->descriptor->URI) break;
    }
    if (loaded_->descriptor == nullptr) throw Lv2HostError(ui->binary + " does not describe " + ui->uri);

    loaded_->touch = {loaded_.get(), &Loaded::touched};
    loaded_->resize = {loaded_.get(), &Loaded::resized};
    loaded_->scale = static_cast<float>(scale);
    if (scale > 0.0) {
        loaded_->options.push_back({LV2_OPTIONS_INSTANCE, 0, map.map(LV2_UI__scaleFactor), sizeof(float),
                                    map.map(LV2_ATOM__Float), &loaded_->scale});
    }
    loaded_->options.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
    const LV2_Feature mapFeature{LV2_URID__map, map.feature()};
    const LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
    const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
    const LV2_Feature touchFeature{LV2_UI__touch, &loaded_->touch};
    const LV2_Feature resizeFeature{LV2_UI__resize, &loaded_->resize};
    const LV2_Feature optionsFeature{LV2_OPTIONS__options, loaded_->options.data()};
    const LV2_Feature* features[] = {&mapFeature,   &parentFeature,  &idleFeature, &touchFeature,
                                     &resizeFeature, &optionsFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    loaded_->handle = loaded_->descriptor->instantiate(loaded_->descriptor, plugin.uri().c_str(),
                                                       (ui->bundle + "/").c_str(), &Loaded::write, loaded_.get(),
                                                       &widget, features);
    if (loaded_->handle == nullptr) throw Lv2HostError(ui->uri + " refused to open");
    widget_ = reinterpret_cast<std::uintptr_t>(widget);
    if (loaded_->descriptor->extension_data != nullptr) {
        loaded_->idle = static_cast<const LV2UI_Idle_Interface*>(
            loaded_->descriptor->extension_data(LV2_UI__idleInterface));
    }
}

Lv2Ui::~Lv2Ui() {
    if (loaded_ && loaded_->handle != nullptr) loaded_->descriptor->cleanup(loaded_->handle);
}

void Lv2Ui::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
    if (loaded_->descriptor->port_event != nullptr) {
        loaded_->descriptor->port_event(loaded_->handle, port, size, format, buffer);
    }
}

std::pair<std::int32_t, std::int32_t> Lv2Ui::requestedSize() const { return loaded_->size; }

bool Lv2Ui::idle() { return loaded_->idle == nullptr || loaded_->idle->idle(loaded_->handle) == 0; }

}  // namespace lv2host
