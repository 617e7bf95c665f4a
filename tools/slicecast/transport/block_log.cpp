#include "block_log.h"

#include <charconv>
#include <stdexcept>

namespace slicecastcli {

namespace {

// The shortest text that reads back to the same bits.
template <typename Number>
std::string exact(Number number) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof(text), number);
    return std::string(text, result.ptr);
}

}  // namespace

BlockLogFile::BlockLogFile(const std::string& path, const pluginhost::HostedEffect& effect)
    : path_(path), effect_(effect), file_(path), out_(file_.temporaryPath(), std::ios::binary | std::ios::trunc) {
    out_ << "frames," << effect_.timeColumns() << ",parameters,input_frame,output_frame\n";
}

void BlockLogFile::append(const pluginhost::PlayedBlock& block) {
    out_ << block.frames << ',' << effect_.timeFields(block.time) << ',';
    for (std::size_t i = 0; i < block.parametersSet.size(); ++i) {
        const auto& [index, value] = block.parametersSet[i];
        out_ << (i == 0 ? "" : " ") << index << '=' << exact(value);
    }
    out_ << ',' << block.inputFrame << ',' << block.outputFrame << '\n';
}

void BlockLogFile::commit() {
    out_.close();
    if (!out_) throw std::runtime_error("cannot write " + path_);
    file_.commit();
}

}  // namespace slicecastcli
