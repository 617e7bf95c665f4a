// The UI loop on Windows: the thread's messages, dispatched to the windows'
// procedures as they come, until the time is up; the window system is
// Windows' own.
#include <windows.h>

#include <algorithm>

#include "ui_loop.h"

namespace pluginhost {

bool loopWatchesDescriptors() { return false; }

const char* hostWindowSystem() { return "win32"; }

void UiLoop::waitAndDispatch(Clock::time_point until) {
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

}  // namespace pluginhost
