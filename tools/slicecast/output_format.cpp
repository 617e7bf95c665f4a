#include "output_format.h"

#include <sndfile.h>

#include <array>
#include <stdexcept>
#include <utility>

namespace slicecastcli {

namespace {

constexpr const char* kSameAsInput = "same";

constexpr std::array<std::pair<const char*, int>, 3> kWavFormats{{
    {"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
    {"pcm16", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    {"pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
}};

}  // namespace

const std::vector<std::string>& outputFormatNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& [name, code] : kWavFormats) all.emplace_back(name);
        all.emplace_back(kSameAsInput);
        return all;
    }();
    return names;
}

int outputFormat(const std::string& name, int inputFormat) {
    if (name == kSameAsInput) return inputFormat;
    for (const auto& [known, code] : kWavFormats) {
        if (name == known) return code;
    }
    throw std::invalid_argument("unknown output format '" + name + "'");
}

}  // namespace slicecastcli
