#include "file_playback.h"

#include <algorithm>
#include <stdexcept>

#include "effect/automation_settings.h"
#include "scripted_playback.h"

namespace slicecastcli {

namespace {

// Output is handed to the writer this many frames at a time, however
// short the blocks.
constexpr std::size_t kWriteFrames = 65536;

class FileStreams : public pluginhost::PlaybackStreams {
public:
    FileStreams(SoundFileReader& reader, SoundFileWriter& writer, const std::function<void(std::int64_t)>& progress,
                const std::function<void(const pluginhost::PlayedBlock&)>& played, const BlockWatcher& watch)
        : reader_(reader), writer_(writer), progress_(progress), played_(played), watch_(watch) {
        pending_.left.reserve(kWriteFrames);
        pending_.right.reserve(kWriteFrames);
    }

    void readInput(std::int64_t firstFrame, pluginhost::StereoBuffer& block) override {
        const std::size_t wanted = block.frames();
        if (firstFrame != reader_.position()) reader_.seek(firstFrame);
        reader_.read(block, wanted);
        if (block.frames() != wanted) {
            throw std::runtime_error("cannot read " + reader_.path() + ": it ended at frame " +
                                     std::to_string(reader_.position()) + " of the " +
                                     std::to_string(reader_.frames()) + " it announced");
        }
        furthest_ = std::max(furthest_, reader_.position());
        lastInput_ = &block;
    }

    void writeOutput(const pluginhost::StereoBuffer& block) override {
        if (watch_) watch_(*lastInput_, block);
        pending_.left.insert(pending_.left.end(), block.left.begin(), block.left.end());
        pending_.right.insert(pending_.right.end(), block.right.begin(), block.right.end());
        if (pending_.frames() >= kWriteFrames) flush();
    }

    void played(const pluginhost::PlayedBlock& block) override { played_(block); }

    void flush() {
        writer_.write(pending_);
        pending_.left.clear();
        pending_.right.clear();
        progress_(furthest_);
    }

private:
    SoundFileReader& reader_;
    SoundFileWriter& writer_;
    const std::function<void(std::int64_t)>& progress_;
    const std::function<void(const pluginhost::PlayedBlock&)>& played_;
    const BlockWatcher& watch_;
    // The input of the block being played, which a written block always
    // reads before its output comes.
    const pluginhost::StereoBuffer* lastInput_ = nullptr;
    pluginhost::StereoBuffer pending_;
    std::int64_t furthest_ = 0;
};

pluginhost::PlaybackScript scriptFor(pluginhost::HostedEffect& effect, const TransportOptions& transport,
                                  const std::vector<ParameterValue>& settings) {
    pluginhost::PlaybackScript script;
    script.tempo = transport.tempo;
    script.start = transport.start;
    script.loop = transport.loop;
    script.countInBlocks = transport.countInBlocks;
    script.reportsPosition = !transport.noPosition;
    for (const ParameterValue& setting : settings) script.settings.emplace_back(setting.index, setting.value);
    script.automation = resolveAutomation(effect, transport.automation);
    return script;
}

}  // namespace

void playFile(EffectSession& session, const TransportOptions& transport, const std::vector<ParameterValue>& settings,
              SoundFileReader& reader, SoundFileWriter& writer, const std::function<void(std::int64_t)>& progress,
              const std::function<void(const pluginhost::PlayedBlock&)>& played, const BlockWatcher& watch) {
    if (transport.countInBlocks > 0 && reader.frames() == 0) {
        throw std::runtime_error("a count-in needs something to roll after it, but " + reader.path() +
                                 " has no frames");
    }
    const pluginhost::PlaybackScript script = scriptFor(session.effect(), transport, settings);
    FileStreams streams(reader, writer, progress, played, watch);
    session.play(script, transport.blocks.sizer(), reader.frames(), streams);
    streams.flush();
}

}  // namespace slicecastcli
