#include "sound_file_reader.h"

#include <stdexcept>

namespace slicecastcli {

SoundFileReader::SoundFileReader(const std::string& path) : path_(path) {
    file_.reset(sf_open(path.c_str(), SFM_READ, &info_));
    if (!file_) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    if (info_.channels > 2) {
        throw std::runtime_error(path + " has " + std::to_string(info_.channels) +
                                 " channels; only mono and stereo files can be rendered");
    }
    if (info_.samplerate <= 0) throw std::runtime_error(path + " has no valid sample rate");
}

void SoundFileReader::seek(std::int64_t frame) {
    if (sf_seek(file_.get(), frame, SEEK_SET) != frame) {
        throw std::runtime_error("cannot read " + path_ + " again from frame " + std::to_string(frame) +
                                 " (a loop needs an input that can be read again, not a pipe)");
    }
    position_ = frame;
}

void SoundFileReader::read(pluginhost::StereoBuffer& buffer, std::size_t maxFrames) {
    const auto channels = static_cast<std::size_t>(info_.channels);
    interleaved_.resize(maxFrames * channels);
    // Some formats deliver less than asked before their end; keep reading
    // so that only the file's end makes a block short.
    std::size_t frames = 0;
    while (frames < maxFrames) {
        const sf_count_t got = sf_readf_float(file_.get(), interleaved_.data() + frames * channels,
                                              static_cast<sf_count_t>(maxFrames - frames));
        if (got <= 0) break;
        frames += static_cast<std::size_t>(got);
    }
    if (sf_error(file_.get()) != SF_ERR_NO_ERROR) {
        throw std::runtime_error("cannot read " + path_ + ": " + sf_strerror(file_.get()));
    }
    position_ += static_cast<std::int64_t>(frames);
    buffer.left.resize(frames);
    buffer.right.resize(frames);
    const std::size_t rightChannel = channels - 1;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        buffer.left[frame] = interleaved_[frame * channels];
        buffer.right[frame] = interleaved_[frame * channels + rightChannel];
    }
}

}  // namespace slicecastcli
