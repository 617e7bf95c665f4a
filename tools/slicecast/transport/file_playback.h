// Plays a sound file through a session's effect as a DAW's transport does
// (tempo map, loop, count-in, automation, block lengths, what the time
// record tells) and writes what comes out.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "effect/effect_session.h"
#include "effect/parameter_settings.h"
#include "played_block.h"
#include "sound_files/sound_file_reader.h"
#include "sound_files/sound_file_writer.h"
#include "transport_options.h"

namespace slicecastcli {

// Shown each written block: what went into the effect, what came out.
using BlockWatcher = std::function<void(const pluginhost::StereoBuffer& dry, const pluginhost::StereoBuffer& processed)>;

// Reads the whole input (and the loop's stretch again for each repeat),
// sets settings just before the first block, and writes every block that
// is not a count-in. progress is told the furthest input frame reached,
// played of every processing call once played, and watch, if set, sees
// every written block. The session must be switched on with the input's
// sample rate and a block size of at least blocks.largest.
void playFile(EffectSession& session, const TransportOptions& transport, const std::vector<ParameterValue>& settings,
              SoundFileReader& reader, SoundFileWriter& writer, const std::function<void(std::int64_t)>& progress,
              const std::function<void(const pluginhost::PlayedBlock&)>& played, const BlockWatcher& watch = {});

}  // namespace slicecastcli
