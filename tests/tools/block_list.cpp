#include "block_list.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tooltest {

namespace {

constexpr const char* kHeader = "frames,position,tempo,flags,sample_rate,parameters,input_frame,output_frame";

template <typename Number>
Number number(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) throw std::runtime_error("not a number: " + text);
    return value;
}

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
    if (!line.empty() && line.back() == separator) fields.emplace_back();
    return fields;
}

}  // namespace

void PrintTo(const BlockRow& row, std::ostream* out) {
    *out << "{" << row.frames << " frames at " << row.position << ", tempo " << row.tempo << ", flags " << row.flags
         << ", rate " << row.sampleRate << ", [" << row.parameters << "], input " << row.inputFrame << ", output "
         << row.outputFrame << "}";
}

std::vector<BlockRow> readBlockList(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!std::getline(file, line) || line != kHeader) throw std::runtime_error("no block list header in " + path);
    std::vector<BlockRow> rows;
    while (std::getline(file, line)) {
        const std::vector<std::string> fields = split(line, ',');
        if (fields.size() != 8) throw std::runtime_error("not a block list line: " + line);
        rows.push_back({number<std::int32_t>(fields[0]), number<double>(fields[1]), number<double>(fields[2]),
                        number<std::int32_t>(fields[3]), number<double>(fields[4]), fields[5],
                        number<std::int64_t>(fields[6]), number<std::int64_t>(fields[7])});
    }
    return rows;
}

std::vector<std::pair<int, float>> parametersOf(const BlockRow& row) {
    std::vector<std::pair<int, float>> parameters;
    for (const std::string& item : split(row.parameters, ' ')) {
        const auto equals = item.find('=');
        if (equals == std::string::npos) throw std::runtime_error("not index=value: " + item);
        parameters.emplace_back(number<int>(item.substr(0, equals)), number<float>(item.substr(equals + 1)));
    }
    return parameters;
}

std::vector<RecordedCall> readRecorderLog(const std::string& path) {
    std::ifstream file(path);
    std::vector<RecordedCall> calls;
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> fields = split(line, ' ');
        RecordedCall call;
        call.frames = number<std::int32_t>(fields.at(0));
        std::size_t next = 1;
        if (fields.at(1) == "none") {
            next = 2;
        } else {
            call.position = number<double>(fields.at(1));
            call.tempo = number<double>(fields.at(2));
            call.flags = number<std::int32_t>(fields.at(3));
            call.sampleRate = number<double>(fields.at(4));
            call.samplePosition = number<double>(fields.at(5));
            next = 6;
        }
        call.level = number<float>(fields.at(next));
        call.steps = number<float>(fields.at(next + 1));
        calls.push_back(call);
    }
    return calls;
}

}  // namespace tooltest
