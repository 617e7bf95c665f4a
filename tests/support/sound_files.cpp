#include "sound_files.h"

#include <sndfile.h>

#include <stdexcept>

namespace testsupport {

void writeSound(const std::string& path, const Sound& sound) {
    SF_INFO info{};
    info.samplerate = sound.sampleRate;
    info.channels = static_cast<int>(sound.channels.size());
    info.format = sound.format != 0 ? sound.format : SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<float> interleaved;
    for (std::size_t frame = 0; frame < sound.frames(); ++frame) {
        for (const auto& channel : sound.channels) interleaved.push_back(channel[frame]);
    }
    sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(sound.frames()));
    sf_close(file);
}

Sound readSound(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * channels);
    sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    Sound sound{info.samplerate, info.format, std::vector<std::vector<float>>(channels)};
    for (std::size_t i = 0; i < interleaved.size(); ++i) sound.channels[i % channels].push_back(interleaved[i]);
    return sound;
}

Sound stereoSound(const pluginhost::StereoBuffer& buffer, int sampleRate) {
    return Sound{sampleRate, 0, {buffer.left, buffer.right}};
}

pluginhost::StereoBuffer stereoBuffer(const Sound& sound) {
    pluginhost::StereoBuffer buffer;
    buffer.left = sound.channels.at(0);
    buffer.right = sound.channels.at(1);
    return buffer;
}

}  // namespace testsupport
