// The web edition's C interface, as the page's JavaScript calls it in the
// module (see web_exports.cpp and web_demo_loop.cpp): the same functions
// compile natively for the tests.
#pragma once

#include <cstdint>

namespace slicecast {
class SlicecastWeb;
}

extern "C" {

slicecast::SlicecastWeb* slicecast_create(double sampleRate, std::int32_t maxFrames);
void slicecast_free(slicecast::SlicecastWeb* instance);
float* slicecast_buffer(slicecast::SlicecastWeb* instance, std::int32_t channel);
void slicecast_set_parameter(slicecast::SlicecastWeb* instance, std::int32_t index, float plain);
void slicecast_set_tempo(slicecast::SlicecastWeb* instance, double tempo);
void slicecast_set_sample_rate(slicecast::SlicecastWeb* instance, double sampleRate);
void slicecast_locate(slicecast::SlicecastWeb* instance, double position);
void slicecast_process(slicecast::SlicecastWeb* instance, std::int32_t frames);
void slicecast_reset(slicecast::SlicecastWeb* instance);

void slicecast_keep_marks(slicecast::SlicecastWeb* instance);
std::int32_t slicecast_mark_count(const slicecast::SlicecastWeb* instance, std::int32_t kind);
const std::int64_t* slicecast_marks(const slicecast::SlicecastWeb* instance, std::int32_t kind);
std::int32_t slicecast_beat_count(const slicecast::SlicecastWeb* instance);
const std::int64_t* slicecast_beats(const slicecast::SlicecastWeb* instance);

std::int32_t slicecast_parameter_count();
const char* slicecast_parameter_name(std::int32_t index);
double slicecast_parameter_default(std::int32_t index);
double slicecast_parameter_maximum(std::int32_t index);
std::int32_t slicecast_parameter_stepped(std::int32_t index);
const char* slicecast_value_text(std::int32_t index, float plain);

std::int32_t slicecast_preset_count();
const char* slicecast_preset_name(std::int32_t preset);
double slicecast_preset_value(std::int32_t preset, std::int32_t index);

std::int32_t slicecast_demo_frames();
std::int32_t slicecast_demo_sample_rate();
double slicecast_demo_tempo();
const float* slicecast_demo_channel(std::int32_t channel);

}  // extern "C"
