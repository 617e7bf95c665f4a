// The formats `render` can write, by the names the user gives them.
#pragma once

#include <string>
#include <vector>

namespace slicecastcli {

// "float" (32-bit float WAV, the default), "pcm16", "pcm24" (WAV), "same"
// (the input file's own format).
const std::vector<std::string>& outputFormatNames();

// libsndfile's format code for a name above, given the input's code.
int outputFormat(const std::string& name, int inputFormat);

}  // namespace slicecastcli
