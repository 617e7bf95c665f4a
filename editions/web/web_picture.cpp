#include "web_picture.h"

#include "canvas_painter.h"
#include "parameter_tables.h"
#include "plain_parameters.h"
#include "plot_drawing.h"
#include "plot_layout.h"

namespace slicecast {

namespace {

// The page's steps are plain values, as the LV2 edition's ports hold them.
std::int32_t waveLengthStep(float plain) { return stepFromPlain(plain, kMaxWaveLengthIndex); }
std::int32_t updatePeriodStep(float plain) { return stepFromPlain(plain, kMaxUpdatePeriodIndex); }

constexpr std::size_t kChannels = 2;

}  // namespace

WebPicture::WebPicture(float sampleRate, float waveLength, float updatePeriod)
    : passes_(sampleRate, waveLengthStep(waveLength), updatePeriodStep(updatePeriod)) {
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        dry_.emplace_back(picture::plot::plotColumns());
        processed_.emplace_back(picture::plot::plotColumns());
    }
}

void WebPicture::parameterSet(std::int32_t index, float plain) {
    if (index == kWaveLength) passes_.setWaveLength(waveLengthStep(plain));
    if (index == kUpdatePeriod) passes_.setUpdatePeriod(updatePeriodStep(plain));
}

void WebPicture::played(const pluginhost::BlockTime& time, std::int32_t frames,
                        const std::array<const float*, 4>& io) {
    const picture::PictureBlock block{
        outputFrame_, frames,
        {time.sampleRate, time.position, time.tempo, time.playing, time.positionValid, time.tempoValid}};
    picture::addBeats(block, beats_);
    passes_.play(block);
    for (std::size_t channel = 0; channel < kChannels; ++channel) {
        dry_[channel].add(io[channel], static_cast<std::size_t>(frames));
        processed_[channel].add(io[kChannels + channel], static_cast<std::size_t>(frames));
    }
    outputFrame_ += frames;
}

char* WebPicture::caption(std::int32_t line) noexcept {
    if (line < 0 || line >= kCaptionLines) return nullptr;
    return caption_[static_cast<std::size_t>(line)].data();
}

const std::uint8_t* WebPicture::draw() {
    // The caption's last byte stays a terminator whatever the page wrote.
    for (auto& line : caption_) line.back() = '\0';
    const picture::PlotContent content{dry_, processed_, beats_, passes_.marks(), caption_[0].data(),
                                       caption_[1].data()};
    picture::Canvas canvas(picture::plot::kWidth, picture::plot::kHeight);
    picture::CanvasPainter painter(canvas);
    picture::drawPlot(painter, content);
    const std::size_t count = static_cast<std::size_t>(canvas.width()) * static_cast<std::size_t>(canvas.height());
    rgba_.resize(4 * count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = canvas.pixels()[i];
        rgba_[4 * i] = static_cast<std::uint8_t>(pixel >> 16);
        rgba_[4 * i + 1] = static_cast<std::uint8_t>(pixel >> 8);
        rgba_[4 * i + 2] = static_cast<std::uint8_t>(pixel);
        rgba_[4 * i + 3] = static_cast<std::uint8_t>(pixel >> 24);
    }
    return rgba_.data();
}

}  // namespace slicecast
