// Slicecast for a web page: the sound, driven as the render tool drives the
// LV2 edition. The host's transport is the render tool's own
// (pluginhost::Transport), told to the sound at every block's first frame;
// the six parameters come as plain values in single precision, as LV2
// ports hold them; the sample rate reaches the sound as a float. The audio
// moves through four buffers the instance owns, which the page fills and
// reads in the module's memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "plain_parameters.h"
#include "slicecast_identity.h"
#include "slicecast_sound.h"
#include "transport.h"
#include "web_picture.h"

namespace slicecast {

class SlicecastWeb {
public:
    // The instance and its buffers of maxFrames frames come from one
    // zero-filled allocation (the sound's capture must start silent); null
    // when there is no memory or maxFrames is not above 0.
    static SlicecastWeb* create(double sampleRate, std::int32_t maxFrames) noexcept;
    static void destroy(SlicecastWeb* instance) noexcept;

    // 0 and 1 the left and right input, 2 and 3 the outputs; null for any
    // other channel.
    float* buffer(std::int32_t channel) noexcept;
    std::int32_t maxFrames() const noexcept { return maxFrames_; }

    // A parameter's plain value (step number or percent); other indices are
    // ignored. Takes effect at the next block.
    void setParameter(std::int32_t index, float plain) noexcept;
    void setTempo(double tempo) noexcept;
    void setSampleRate(double sampleRate) noexcept;
    // The next block starts at this position, in quarter notes.
    void locate(double position) noexcept;
    // Processes the first frames frames of the buffers (nothing unless
    // 0 < frames <= maxFrames) at the transport's position, then moves the
    // transport on. Allocates nothing unless the picture is kept.
    void process(std::int32_t frames) noexcept;
    // The sound back to a new instance's state and the transport to
    // position 0; parameters, tempo and sample rate stay.
    void reset() noexcept;

    // From the next block on, the page's picture takes in every block
    // (allocates).
    void keepPicture();
    // Null until keepPicture.
    WebPicture* picture() noexcept { return picture_.get(); }
    const WebPicture* picture() const noexcept { return picture_.get(); }

private:
    SlicecastWeb(double sampleRate, std::int32_t maxFrames, float* buffers) noexcept;

    float sampleRate_;
    std::int32_t maxFrames_;
    float* buffers_;
    std::array<float, kParameterCount> plain_;
    PlainParameterMapping mapping_;
    pluginhost::Transport transport_;
    SlicecastSound sound_;
    std::unique_ptr<WebPicture> picture_;
};

}  // namespace slicecast
