// A display for tests that open windows: the one DISPLAY names, or else an
// X server of the test's own (Xvfb, 24-bit), started on a free display
// number for as long as the object lives.
#pragma once

#include <string>

namespace testsupport {

class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Empty when a display is there to use; else why none could be had.
    const std::string& failure() const { return failure_; }

private:
    int server_ = -1;  // the X server's process, where the test started one
    std::string failure_;
};

}  // namespace testsupport
