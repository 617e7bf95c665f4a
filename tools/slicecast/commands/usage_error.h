// A mistake in what the user asked for (an option that cannot work, a name
// that means nothing), as opposed to something that went wrong while
// running: the tool exits with status 2 for these, 1 for the others.
#pragma once

#include <stdexcept>

namespace slicecastcli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace slicecastcli
