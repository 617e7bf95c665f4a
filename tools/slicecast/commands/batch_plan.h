// Which files a batch render reads and writes: the inputs given (a folder
// stands for the sound files directly in it), each written into the output
// folder under its own stem, with the extension asked for or its own.
#pragma once

#include <string>
#include <vector>

namespace slicecastcli {

struct BatchFile {
    std::string input;
    std::string output;
};

// Throws UsageError, before anything is read or written, when an input does
// not exist, a folder holds no sound file, an output name has no known
// format (or cannot hold the encoding asked for), two inputs would write
// the same output, an output would replace its input, or the extension
// names a folder. extension may be given with or without its dot; empty
// keeps each input's own.
std::vector<BatchFile> planBatch(const std::vector<std::string>& inputs, const std::string& outputFolder,
                                 const std::string& extension, const std::string& encoding);

}  // namespace slicecastcli
