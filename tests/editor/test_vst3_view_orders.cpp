// The VST 3 editor's view as hosts really call it: in every order the hosts
// seen use, and in the ways some of them misbehave. Each case must leave
// nothing registered on the host's loop once the view is released.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "host_window.h"
#include "plug_frame.h"
#include "slicecast_vst3_plugin.h"
#include "ui_loop.h"
#include "virtual_display.h"
#include "vst3_instance.h"

namespace {

using namespace std::chrono_literals;
using vst3host::Ref;

struct ViewCase {
    const char* what;
    // Drives a view the controller made; answers whether every call it
    // checks got the answer hosts rely on.
    std::function<bool(vst3::IPlugView& view, vst3host::PlugFrame& frame, void* parent)> drive;
};

const ViewCase kCases[] = {
    {"created only to be asked about the platform",
     [](vst3::IPlugView& view, vst3host::PlugFrame&, void*) {
         return view.isPlatformTypeSupported(vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultTrue &&
                view.isPlatformTypeSupported(vst3::kPlatformTypeHwnd) == vst3::kResultFalse &&
                view.isPlatformTypeSupported(nullptr) == vst3::kResultFalse;
     }},
    {"removed without ever being attached",
     [](vst3::IPlugView& view, vst3host::PlugFrame&, void*) { return view.removed() == vst3::kResultOk; }},
    {"the frame withdrawn before removed",
     [](vst3::IPlugView& view, vst3host::PlugFrame& frame, void* parent) {
         return view.setFrame(&frame) == vst3::kResultTrue &&
                view.attached(parent, vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultOk &&
                view.setFrame(nullptr) == vst3::kResultTrue && view.removed() == vst3::kResultOk;
     }},
    {"the frame withdrawn after removed",
     [](vst3::IPlugView& view, vst3host::PlugFrame& frame, void* parent) {
         return view.setFrame(&frame) == vst3::kResultTrue &&
                view.attached(parent, vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultOk &&
                view.removed() == vst3::kResultOk && view.setFrame(nullptr) == vst3::kResultTrue;
     }},
    {"attached with no frame: no run loop, a still picture",
     [](vst3::IPlugView& view, vst3host::PlugFrame&, void* parent) {
         return view.attached(parent, vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultOk &&
                view.removed() == vst3::kResultOk;
     }},
    {"attached to another window system, or to none",
     [](vst3::IPlugView& view, vst3host::PlugFrame& frame, void* parent) {
         return view.setFrame(&frame) == vst3::kResultTrue &&
                view.attached(parent, vst3::kPlatformTypeHwnd) == vst3::kResultFalse &&
                view.attached(nullptr, vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultFalse;
     }},
    {"released while still attached",
     [](vst3::IPlugView& view, vst3host::PlugFrame& frame, void* parent) {
         return view.setFrame(&frame) == vst3::kResultTrue &&
                view.attached(parent, vst3::kPlatformTypeX11EmbedWindowId) == vst3::kResultOk;
     }},
};

}  // namespace

TEST(Vst3ViewOrders, EveryOrderHostsUseLeavesNothingBehind) {
    const testsupport::VirtualDisplay display;
    ASSERT_EQ(display.failure(), "");
    pluginhost::UiLoop loop;
    const auto window = pluginhost::HostWindow::open(loop, 800, 450, "view orders");
    ASSERT_NE(window, nullptr);
    void* parent = reinterpret_cast<void*>(window->native());
    vst3host::Vst3Instance instance(testsupport::slicecastVst3Module());
    vst3::IEditController& controller = *instance.controller();
    EXPECT_EQ(controller.createView(nullptr), nullptr);
    EXPECT_EQ(controller.createView("inspector"), nullptr);
    for (const ViewCase& c : kCases) {
        auto frame = vst3host::makeHostObject<vst3host::PlugFrame>(loop);
        {
            const auto view = Ref<vst3::IPlugView>::adopt(controller.createView(vst3::kViewTypeEditor));
            ASSERT_NE(view.get(), nullptr) << c.what;
            EXPECT_TRUE(c.drive(*view, *frame, parent)) << c.what;
            loop.runFor(60ms);
        }
        EXPECT_EQ(frame->registrations(), 0u) << c.what;
        EXPECT_EQ(frame->references(), 1u) << c.what << ": the view let go of the frame";
        EXPECT_EQ(loop.timerCount(), 0u) << c.what;
    }
}

TEST(Vst3ViewOrders, EditsWithoutAComponentHandlerStayTheControllers) {
    const testsupport::VirtualDisplay display;
    ASSERT_EQ(display.failure(), "");
    pluginhost::UiLoop loop;
    const auto window = pluginhost::HostWindow::open(loop, 800, 450, "no handler");
    ASSERT_NE(window, nullptr);
    vst3host::Vst3Instance instance(testsupport::slicecastVst3Module());
    vst3::IEditController& controller = *instance.controller();
    ASSERT_EQ(controller.setComponentHandler(nullptr), vst3::kResultOk);
    ASSERT_TRUE(instance.openEditor(vst3::kPlatformTypeX11EmbedWindowId, reinterpret_cast<void*>(window->native()),
                                    0.0, loop));
    window->showChildren();
    loop.runFor(100ms);
    // A click on the first WaveLength step (the layout's first cell).
    window->moveTo(140, 300);
    window->press();
    window->release();
    loop.runFor(100ms);
    EXPECT_EQ(controller.normalizedParamToPlain(0, controller.getParamNormalized(0)), 0.0);
    EXPECT_TRUE(instance.handler().edits().empty());
    instance.closeEditor();
}
