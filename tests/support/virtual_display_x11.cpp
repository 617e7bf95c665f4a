#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "virtual_display.h"

namespace testsupport {

VirtualDisplay::VirtualDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') return;
    // Xvfb writes the display number it took to the pipe once it is ready.
    int ready[2];
    if (pipe(ready) != 0) {
        failure_ = "no pipe for the X server";
        return;
    }
    const pid_t server = fork();
    if (server == 0) {
        // The server goes with the test, however the test ends, and keeps
        // none of its output open.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, STDOUT_FILENO);
        dup2(nothing, STDERR_FILENO);
        close(ready[0]);
        const std::string descriptor = std::to_string(ready[1]);
        // -noreset: a server that starts over whenever its last client goes
        // refuses the next test's first connection while it does.
        execlp("Xvfb", "Xvfb", "-displayfd", descriptor.c_str(), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    char byte = 0;
    while (server > 0 && read(ready[0], &byte, 1) == 1 && byte != '\n') number += byte;
    close(ready[0]);
    if (server <= 0 || number.empty()) {
        failure_ = "Xvfb did not start (is it installed?)";
        if (server > 0) waitpid(server, nullptr, 0);
        return;
    }
    server_ = server;
    setenv("DISPLAY", (":" + number).c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
    if (server_ <= 0) return;
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
    unsetenv("DISPLAY");
}

}  // namespace testsupport
