#include "console.h"

#include <unistd.h>

#include <iostream>

namespace slicecastcli {

void Console::say(const std::string& line) const {
    if (!quiet_) std::cout << line << '\n';
}

bool Console::showsProgress() const { return !quiet_ && isatty(STDERR_FILENO) == 1; }

}  // namespace slicecastcli
