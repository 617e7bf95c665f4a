// The render tool's list of processing calls (--blocks-out) and the
// recorder effect's log of what it received, read back to the bit.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace tooltest {

struct BlockRow {
    std::int32_t frames = 0;
    double position = 0.0;
    double tempo = 0.0;
    std::int32_t flags = 0;
    double sampleRate = 0.0;
    // As written: "index=value" separated by blanks.
    std::string parameters;
    std::int64_t inputFrame = 0;
    std::int64_t outputFrame = 0;

    bool operator==(const BlockRow&) const = default;
};

void PrintTo(const BlockRow& row, std::ostream* out);

// Throws when the header or a line is not as documented.
std::vector<BlockRow> readBlockList(const std::string& path);

// The "index=value" pairs of a row's parameters.
std::vector<std::pair<int, float>> parametersOf(const BlockRow& row);

// One call as the recorder effect saw it.
struct RecordedCall {
    std::int32_t frames = 0;
    // Absent when the host answered no time record.
    std::optional<double> position;
    double tempo = 0.0;
    std::int32_t flags = 0;
    double sampleRate = 0.0;
    double samplePosition = 0.0;
    float level = 0.0f;
    float steps = 0.0f;
};

std::vector<RecordedCall> readRecorderLog(const std::string& path);

}  // namespace tooltest
