#include "lv2_plugin.h"

#include <algorithm>
#include <filesystem>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>

#include "lilv_world.h"
#include "urid_map.h"

namespace lv2host {

namespace {

// A lilv node the caller owns, freed when it goes.
struct Node {
    LilvNode* node;
    explicit Node(LilvNode* n) : node(n) {}
    ~Node() { lilv_node_free(node); }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
};

std::string textOf(const LilvNode* node) { return node != nullptr ? lilv_node_as_string(node) : ""; }

float numberOf(const LilvNode* node, float otherwise) {
    return node != nullptr && lilv_node_is_float(node)  ? lilv_node_as_float(node)
           : node != nullptr && lilv_node_is_int(node) ? static_cast<float>(lilv_node_as_int(node))
                                                         : otherwise;
}

std::vector<std::string> uris(LilvNodes* nodes) {
    std::vector<std::string> list;
    LILV_FOREACH(nodes, i, nodes) list.push_back(textOf(lilv_nodes_get(nodes, i)));
    lilv_nodes_free(nodes);
    return list;
}

const LilvPlugin* findPlugin(LilvWorld* world, const std::string& bundleOrUri) {
    const LilvPlugins* plugins = nullptr;
    if (std::filesystem::is_directory(bundleOrUri)) {
        // Only this bundle is read: a plug-in of the same URI installed
        // elsewhere cannot stand in for the one under test.
        std::string path = std::filesystem::absolute(bundleOrUri).lexically_normal().string();
        if (path.back() != '/') path += '/';
        if (!std::filesystem::exists(path + "manifest.ttl")) {
            throw Lv2HostError("'" + bundleOrUri + "' is no LV2 bundle (no manifest.ttl)");
        }
        Node bundle(lilv_new_file_uri(world, nullptr, path.c_str()));
        lilv_world_load_bundle(world, bundle.node);
        plugins = lilv_world_get_all_plugins(world);
        if (lilv_plugins_size(plugins) == 0) throw Lv2HostError("the bundle '" + bundleOrUri + "' has no plug-in");
        return lilv_plugins_get(plugins, lilv_plugins_begin(plugins));
    }
    lilv_world_load_all(world);
    plugins = lilv_world_get_all_plugins(world);
    Node uri(lilv_new_uri(world, bundleOrUri.c_str()));
    const LilvPlugin* plugin = uri.node != nullptr ? lilv_plugins_get_by_uri(plugins, uri.node) : nullptr;
    if (plugin == nullptr) throw Lv2HostError("no LV2 bundle folder or installed plug-in '" + bundleOrUri + "'");
    return plugin;
}

PortInfo::Kind kindOf(LilvWorld* world, const LilvPlugin* plugin, const LilvPort* port) {
    Node input(lilv_new_uri(world, LV2_CORE__InputPort));
    Node audio(lilv_new_uri(world, LV2_CORE__AudioPort));
    Node control(lilv_new_uri(world, LV2_CORE__ControlPort));
    Node atom(lilv_new_uri(world, LV2_ATOM__AtomPort));
    const bool in = lilv_port_is_a(plugin, port, input.node);
    if (lilv_port_is_a(plugin, port, audio.node)) return in ? PortInfo::Kind::AudioInput : PortInfo::Kind::AudioOutput;
    if (lilv_port_is_a(plugin, port, control.node)) {
        return in ? PortInfo::Kind::ControlInput : PortInfo::Kind::ControlOutput;
    }
    if (lilv_port_is_a(plugin, port, atom.node)) return in ? PortInfo::Kind::AtomInput : PortInfo::Kind::AtomOutput;
    return PortInfo::Kind::Other;
}

PortInfo portInfo(LilvWorld* world, const LilvPlugin* plugin, std::uint32_t index) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
    PortInfo info;
    info.index = index;
    info.symbol = textOf(lilv_port_get_symbol(plugin, port));
    Node name(lilv_port_get_name(plugin, port));
    info.name = textOf(name.node);
    info.kind = kindOf(world, plugin, port);

    LilvNode* defaultNode = nullptr;
    LilvNode* minimumNode = nullptr;
    LilvNode* maximumNode = nullptr;
    lilv_port_get_range(plugin, port, &defaultNode, &minimumNode, &maximumNode);
    info.defaultValue = numberOf(defaultNode, info.defaultValue);
    info.minimum = numberOf(minimumNode, info.minimum);
    info.maximum = numberOf(maximumNode, info.maximum);
    lilv_node_free(defaultNode);
    lilv_node_free(minimumNode);
    lilv_node_free(maximumNode);

    Node integer(lilv_new_uri(world, LV2_CORE__integer));
    Node enumeration(lilv_new_uri(world, LV2_CORE__enumeration));
    Node optional(lilv_new_uri(world, LV2_CORE__connectionOptional));
    info.integer = lilv_port_has_property(plugin, port, integer.node);
    info.enumeration = lilv_port_has_property(plugin, port, enumeration.node);
    info.connectionOptional = lilv_port_has_property(plugin, port, optional.node);

    if (LilvScalePoints* points = lilv_port_get_scale_points(plugin, port)) {
        LILV_FOREACH(scale_points, i, points) {
            const LilvScalePoint* point = lilv_scale_points_get(points, i);
            info.scalePoints.push_back(
                {numberOf(lilv_scale_point_get_value(point), 0.0f), textOf(lilv_scale_point_get_label(point))});
        }
        lilv_scale_points_free(points);
        std::sort(info.scalePoints.begin(), info.scalePoints.end(),
                  [](const ScalePoint& a, const ScalePoint& b) { return a.value < b.value; });
    }
    return info;
}

std::vector<PresetInfo> presetsOf(LilvWorld* world, const LilvPlugin* plugin) {
    Node presetClass(lilv_new_uri(world, LV2_PRESETS__Preset));
    Node label(lilv_new_uri(world, LILV_NS_RDFS "label"));
    std::vector<PresetInfo> presets;
    LilvNodes* related = lilv_plugin_get_related(plugin, presetClass.node);
    LILV_FOREACH(nodes, i, related) {
        const LilvNode* preset = lilv_nodes_get(related, i);
        lilv_world_load_resource(world, preset);
        Node name(lilv_world_get(world, preset, label.node, nullptr));
        presets.push_back({textOf(preset), textOf(name.node)});
    }
    lilv_nodes_free(related);
    std::sort(presets.begin(), presets.end(),
              [](const PresetInfo& a, const PresetInfo& b) { return a.label < b.label; });
    return presets;
}

// Filled from lilv's callback, which must not throw through lilv.
struct EmittedValues {
    UridMap& map;
    std::vector<PresetPortValue> values;
    std::string notANumber;
};

void takePortValue(const char* symbol, void* data, const void* value, std::uint32_t size, std::uint32_t type) {
    auto& emitted = *static_cast<EmittedValues*>(data);
    float number = 0.0f;
    if (type == emitted.map.map(LV2_ATOM__Float) && size == sizeof(float)) {
        number = *static_cast<const float*>(value);
    } else if (type == emitted.map.map(LV2_ATOM__Double) && size == sizeof(double)) {
        number = static_cast<float>(*static_cast<const double*>(value));
    } else if (type == emitted.map.map(LV2_ATOM__Int) && size == sizeof(std::int32_t)) {
        number = static_cast<float>(*static_cast<const std::int32_t*>(value));
    } else {
        emitted.notANumber = symbol;
        return;
    }
    emitted.values.push_back({symbol, number});
}

}  // namespace

std::string kindName(PortInfo::Kind kind) {
    switch (kind) {
        case PortInfo::Kind::AudioInput: return "audio in";
        case PortInfo::Kind::AudioOutput: return "audio out";
        case PortInfo::Kind::ControlInput: return "control in";
        case PortInfo::Kind::ControlOutput: return "control out";
        case PortInfo::Kind::AtomInput: return "atom in";
        case PortInfo::Kind::AtomOutput: return "atom out";
        case PortInfo::Kind::Other: break;
    }
    return "other";
}

Lv2Plugin::Lv2Plugin(const std::string& bundleOrUri) : world_(std::make_unique<World>()) {
    world_->world = lilv_world_new();
    if (world_->world == nullptr) throw Lv2HostError("lilv cannot start");
    try {
        world_->plugin = findPlugin(world_->world, bundleOrUri);
    } catch (...) {
        lilv_world_free(world_->world);
        throw;
    }
    const LilvPlugin* plugin = world_->plugin;
    uri_ = textOf(lilv_plugin_get_uri(plugin));
    Node name(lilv_plugin_get_name(plugin));
    name_ = textOf(name.node);
    for (std::uint32_t index = 0; index < lilv_plugin_get_num_ports(plugin); ++index) {
        ports_.push_back(portInfo(world_->world, plugin, index));
    }
    requiredFeatures_ = uris(lilv_plugin_get_required_features(plugin));
    optionalFeatures_ = uris(lilv_plugin_get_optional_features(plugin));
    presets_ = presetsOf(world_->world, plugin);
}

std::vector<PresetPortValue> Lv2Plugin::presetValues(const std::string& presetUri) const {
    UridMap map;
    Node preset(lilv_new_uri(world_->world, presetUri.c_str()));
    LilvState* state = lilv_state_new_from_world(world_->world, map.feature(), preset.node);
    if (state == nullptr) throw Lv2HostError("the preset '" + presetUri + "' has no state");
    EmittedValues emitted{map, {}, {}};
    lilv_state_emit_port_values(state, &takePortValue, &emitted);
    lilv_state_free(state);
    if (!emitted.notANumber.empty())
        throw Lv2HostError("the preset '" + presetUri + "' gives the port '" + emitted.notANumber + "' no number");
    return emitted.values;
}

Lv2Plugin::~Lv2Plugin() { lilv_world_free(world_->world); }

const PortInfo& Lv2Plugin::port(const std::string& symbol) const {
    const auto found =
        std::find_if(ports_.begin(), ports_.end(), [&](const PortInfo& port) { return port.symbol == symbol; });
    if (found == ports_.end()) throw Lv2HostError(uri_ + " has no port '" + symbol + "'");
    return *found;
}

}  // namespace lv2host
