// Building and copying speaker arrangements. An arrangement is one heap block
// of 8 header bytes and 112 bytes per speaker, taken with calloc and given
// back with free; its holder keeps the block's address in a "place" that
// these utilities may replace.
//
// Beyond the plain record handling, these utilities refuse what would
// otherwise fault: a null place answers false, and so does a channel count
// whose block length is negative or does not fit a signed 32-bit size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

#include "extended_effect.h"

namespace {
constexpr std::size_t kSpeakerNameCharacters = sizeof(VstSpeakerProperties::name) - 1;
constexpr std::int64_t kLargestArrangementBytes = std::numeric_limits<std::int32_t>::max();

void releaseArrangement(VstSpeakerArrangement*& arrangement) {
    std::free(arrangement);
    arrangement = nullptr;
}
}  // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 channelCount) {
    if (arrangement == nullptr) return false;
    releaseArrangement(*arrangement);

    const std::int64_t length = static_cast<std::int64_t>(kSpeakerArrangementHeaderBytes) +
                                static_cast<std::int64_t>(sizeof(VstSpeakerProperties)) * channelCount;
    if (channelCount < 0 || length > kLargestArrangementBytes) return false;

    auto* block = static_cast<VstSpeakerArrangement*>(std::calloc(static_cast<std::size_t>(length), 1));
    if (block == nullptr) return false;
    block->numChannels = channelCount;
    *arrangement = block;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement == nullptr) return false;
    releaseArrangement(*arrangement);
    return true;
}

// The speaker is built in a local record and written in one copy, so that
// copying a speaker onto itself (or onto a record it overlaps) is still well
// defined. Every field but the name is copied bit for bit; the name is cut at
// 63 characters and NUL-filled behind its end up to its last byte.
bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) return false;
    VstSpeakerProperties speaker;
    std::memcpy(&speaker, from, sizeof speaker);
    char* const nameEnd = std::find(speaker.name, speaker.name + kSpeakerNameCharacters, '\0');
    std::fill(nameEnd, std::end(speaker.name), '\0');
    std::memcpy(to, &speaker, sizeof speaker);
    return true;
}

// Matching an arrangement to the one the place already holds would release
// the source before reading it; that arrangement is equal to itself already,
// so it is left as it is.
bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (to == nullptr || from == nullptr) return false;
    if (*to == from) return true;
    if (!deallocateArrangement(to)) return false;
    if (!allocateArrangement(to, from->numChannels)) return false;

    VstSpeakerArrangement* match = *to;
    match->type = from->type;
    for (VstInt32 channel = 0; channel < match->numChannels; ++channel) {
        if (!copySpeaker(speakerAt(match, channel), speakerAt(from, channel))) return false;
    }
    return true;
}
