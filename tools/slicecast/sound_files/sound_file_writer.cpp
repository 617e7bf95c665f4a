#include "sound_file_writer.h"

#include <stdexcept>

namespace slicecastcli {

namespace {

SF_INFO describe(const std::string& path, int format, int channels, int sampleRate) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    if (sf_format_check(&info) == SF_FALSE) {
        throw std::runtime_error("cannot write " + path + ": its format cannot hold " + std::to_string(channels) +
                                 " channels at " + std::to_string(sampleRate) + " Hz");
    }
    return info;
}

}  // namespace

SoundFileWriter::SoundFileWriter(const std::string& path, int format, int channels, int sampleRate)
    : path_(path), channels_(channels), output_(path) {
    SF_INFO info = describe(path, format, channels, sampleRate);
    file_.reset(sf_open(output_.temporaryPath().c_str(), SFM_WRITE, &info));
    if (!file_) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    // Integer formats clip what lies beyond full scale instead of wrapping.
    sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

void SoundFileWriter::write(const pluginhost::StereoBuffer& buffer) {
    const auto channels = static_cast<std::size_t>(channels_);
    const std::size_t frames = buffer.frames();
    interleaved_.resize(frames * channels);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        interleaved_[frame * channels] = buffer.left[frame];
        if (channels == 2) interleaved_[frame * channels + 1] = buffer.right[frame];
    }
    const auto wanted = static_cast<sf_count_t>(frames);
    if (sf_writef_float(file_.get(), interleaved_.data(), wanted) != wanted) {
        throw std::runtime_error("cannot write " + path_ + ": " + sf_strerror(file_.get()));
    }
}

void SoundFileWriter::commit() {
    const int closed = sf_close(file_.release());
    if (closed != SF_ERR_NO_ERROR) throw std::runtime_error("cannot write " + path_ + ": " + sf_error_number(closed));
    output_.commit();
}

}  // namespace slicecastcli
