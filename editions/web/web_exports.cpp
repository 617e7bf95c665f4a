// The module's C interface, which the page's JavaScript calls: an instance
// and its buffers, the parameters' names and texts, the factory presets, the
// picture's marks.
// The wasm build exports these names and those of web_demo_loop.cpp (see
// CMakeLists.txt), declared in web_interface.h.
#include "web_interface.h"

#include <cstdint>

#include "factory_presets.h"
#include "parameter_tables.h"
#include "plain_parameters.h"
#include "slicecast_identity.h"
#include "web_instance.h"
#include "web_parameter_texts.h"

using slicecast::SlicecastWeb;

extern "C" {

SlicecastWeb* slicecast_create(double sampleRate, std::int32_t maxFrames) {
    return SlicecastWeb::create(sampleRate, maxFrames);
}

void slicecast_free(SlicecastWeb* instance) { SlicecastWeb::destroy(instance); }

float* slicecast_buffer(SlicecastWeb* instance, std::int32_t channel) { return instance->buffer(channel); }

void slicecast_set_parameter(SlicecastWeb* instance, std::int32_t index, float plain) {
    instance->setParameter(index, plain);
}

void slicecast_set_tempo(SlicecastWeb* instance, double tempo) { instance->setTempo(tempo); }

void slicecast_set_sample_rate(SlicecastWeb* instance, double sampleRate) { instance->setSampleRate(sampleRate); }

void slicecast_locate(SlicecastWeb* instance, double position) { instance->locate(position); }

void slicecast_process(SlicecastWeb* instance, std::int32_t frames) { instance->process(frames); }

void slicecast_reset(SlicecastWeb* instance) { instance->reset(); }

void slicecast_keep_marks(SlicecastWeb* instance) { instance->keepMarks(); }

// kind 0: the frames where update periods start; 1: where repeats of the
// slice start. Empty until slicecast_keep_marks.
std::int32_t slicecast_mark_count(const SlicecastWeb* instance, std::int32_t kind) {
    const slicecast::WebPicture* marks = instance->marks();
    if (marks == nullptr) return 0;
    const auto& list = kind == 0 ? marks->passes().periodStarts : marks->passes().passStarts;
    return static_cast<std::int32_t>(list.size());
}

const std::int64_t* slicecast_marks(const SlicecastWeb* instance, std::int32_t kind) {
    const slicecast::WebPicture* marks = instance->marks();
    if (marks == nullptr) return nullptr;
    return (kind == 0 ? marks->passes().periodStarts : marks->passes().passStarts).data();
}

// The beats as pairs of 64-bit numbers: the frame, then the quarter notes
// from position 0 (a bar starts where that is a multiple of 4).
std::int32_t slicecast_beat_count(const SlicecastWeb* instance) {
    const slicecast::WebPicture* marks = instance->marks();
    return marks == nullptr ? 0 : static_cast<std::int32_t>(marks->beats().size());
}

const std::int64_t* slicecast_beats(const SlicecastWeb* instance) {
    static_assert(sizeof(slicecastcli::BeatMark) == 2 * sizeof(std::int64_t));
    const slicecast::WebPicture* marks = instance->marks();
    return marks == nullptr ? nullptr : reinterpret_cast<const std::int64_t*>(marks->beats().data());
}

std::int32_t slicecast_parameter_count() { return slicecast::kParameterCount; }

const char* slicecast_parameter_name(std::int32_t index) { return slicecast::parameterName(index); }

double slicecast_parameter_default(std::int32_t index) {
    return index >= 0 && index < slicecast::kParameterCount
               ? slicecast::plainRanges[static_cast<std::size_t>(index)].defaultValue
               : 0.0;
}

double slicecast_parameter_maximum(std::int32_t index) {
    return index >= 0 && index < slicecast::kParameterCount
               ? slicecast::plainRanges[static_cast<std::size_t>(index)].maximum
               : 0.0;
}

std::int32_t slicecast_parameter_stepped(std::int32_t index) {
    return index >= 0 && index < slicecast::kParameterCount &&
           slicecast::plainRanges[static_cast<std::size_t>(index)].stepped;
}

// The text lives until the next call.
const char* slicecast_value_text(std::int32_t index, float plain) {
    static char text[slicecast::kValueTextBound];
    slicecast::writeValueText(index, plain, text);
    return text;
}

std::int32_t slicecast_preset_count() { return slicecast::kFactoryPresetCount; }

// Null for an index that is not a preset's.
const char* slicecast_preset_name(std::int32_t preset) {
    return preset >= 0 && preset < slicecast::kFactoryPresetCount
               ? slicecast::factoryPresets[static_cast<std::size_t>(preset)].name
               : nullptr;
}

// The preset's plain value of the parameter at index; 0 for an index that
// is not a preset's or a parameter's.
double slicecast_preset_value(std::int32_t preset, std::int32_t index) {
    if (preset < 0 || preset >= slicecast::kFactoryPresetCount || index < 0 || index >= slicecast::kParameterCount)
        return 0.0;
    return slicecast::factoryPresets[static_cast<std::size_t>(preset)].plain[static_cast<std::size_t>(index)];
}

}  // extern "C"
