#include "web_picture.h"

#include "parameter_tables.h"
#include "plain_parameters.h"

namespace slicecast {

namespace {

// The page's steps are plain values, as the LV2 edition's ports hold them.
std::int32_t waveLengthStep(float plain) { return stepFromPlain(plain, kMaxWaveLengthIndex); }
std::int32_t updatePeriodStep(float plain) { return stepFromPlain(plain, kMaxUpdatePeriodIndex); }

}  // namespace

WebPicture::WebPicture(float sampleRate, float waveLength, float updatePeriod)
    : passes_(sampleRate, waveLengthStep(waveLength), updatePeriodStep(updatePeriod)) {}

void WebPicture::parameterSet(std::int32_t index, float plain) {
    if (index == kWaveLength) passes_.setWaveLength(waveLengthStep(plain));
    if (index == kUpdatePeriod) passes_.setUpdatePeriod(updatePeriodStep(plain));
}

void WebPicture::played(const pluginhost::BlockTime& time, std::int32_t frames) {
    const picture::PictureBlock block{
        outputFrame_, frames,
        {time.sampleRate, time.position, time.tempo, time.playing, time.positionValid, time.tempoValid}};
    picture::addBeats(block, beats_);
    passes_.play(block);
    outputFrame_ += frames;
}

}  // namespace slicecast
