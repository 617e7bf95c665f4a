// What the tool tells its user: results on standard output, a progress bar
// on standard error when that is a terminal, and nothing but errors when
// asked to be quiet.
#pragma once

#include <string>

namespace slicecastcli {

class Console {
public:
    explicit Console(bool quiet) : quiet_(quiet) {}

    // One line on standard output, unless quiet.
    void say(const std::string& line) const;
    // Whether a progress bar may be drawn: not quiet, and standard error is
    // a terminal (a bar in a log file is only noise).
    bool showsProgress() const;

private:
    bool quiet_;
};

}  // namespace slicecastcli
