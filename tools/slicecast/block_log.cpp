#include "block_log.h"

#include <charconv>
#include <fstream>
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

void writeBlockLog(std::ostream& out, const std::vector<vsthost::PlayedBlock>& blocks) {
    out << "frames,position,tempo,flags,sample_rate,parameters,input_frame,output_frame\n";
    for (const vsthost::PlayedBlock& block : blocks) {
        std::string parameters;
        for (const auto& [index, value] : block.parametersSet) {
            parameters += (parameters.empty() ? "" : " ") + std::to_string(index) + "=" + exact(value);
        }
        out << block.frames << ',' << exact(block.time.ppqPos) << ',' << exact(block.time.tempo) << ','
            << block.time.flags << ',' << exact(block.time.sampleRate) << ',' << parameters << ',' << block.inputFrame
            << ',' << block.outputFrame << '\n';
    }
}

BlockLogFile::BlockLogFile(const std::string& path) : path_(path), file_(path) {}

void BlockLogFile::commit(const std::vector<vsthost::PlayedBlock>& blocks) {
    std::ofstream out(file_.temporaryPath(), std::ios::binary | std::ios::trunc);
    writeBlockLog(out, blocks);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path_);
    file_.commit();
}

}  // namespace slicecastcli
