// An LV2 plug-in's own editor, hosted as a DAW hosts it: the UI of the
// window system asked for that the plug-in's description names, loaded from
// its binary, instantiated inside the host's window with urid:map,
// ui:parent, ui:resize, ui:idleInterface, ui:touch and the display scale as an
// option,
// told of port values and events, and given idle calls. What it writes and
// touches goes to the caller's functions.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "lv2_plugin.h"
#include "urid_map.h"

namespace lv2host {

struct Lv2UiCallbacks {
    // A port written: format 0 for a control value (a float), else the
    // URID of the atom protocol, with one atom.
    std::function<void(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer)> write;
    std::function<void(std::uint32_t port, bool grabbed)> touch;
};

class Lv2Ui {
public:
    // The UI of class uiClass (an LV2 UI class URI) for plugin, inside
    // parent at scale (0: none told). Throws Lv2HostError when the plug-in
    // names none, its binary does not load or it refuses.
    Lv2Ui(const Lv2Plugin& plugin, const std::string& uiClass, std::uintptr_t parent, UridMap& map, double scale,
          Lv2UiCallbacks callbacks);
    // cleanup.
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    // The UI's widget: its own window.
    std::uintptr_t widget() const { return widget_; }
    // The last size the UI asked for through ui:resize (0 x 0: none).
    std::pair<std::int32_t, std::int32_t> requestedSize() const;
    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
    // idle(): whether the UI wants to go on (a UI without idle does).
    bool idle();

    // Whether plugin names a UI of that class.
    static bool available(const Lv2Plugin& plugin, const std::string& uiClass);

private:
    struct Loaded;
    std::unique_ptr<Loaded> loaded_;
    std::uintptr_t widget_ = 0;
};

}  // namespace lv2host
