#include "scripted_playback.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

namespace pluginhost {

namespace {

constexpr std::int64_t kNotFound = -1;

class Player {
public:
    Player(HostedEffect& effect, Transport& transport, const PlaybackScript& script, const BlockSizer& sizer,
           PlaybackStreams& streams)
        : effect_(effect),
          transport_(transport),
          script_(script),
          sizer_(sizer),
          streams_(streams),
          sent_(script.automation.size()) {}

    void play(std::int64_t inputFrames) {
        transport_.setKnown(script_.reportsPosition, true);
        transport_.setPlaying(false);
        transport_.locate(script_.start);
        for (std::int32_t block = 0; block < script_.countInBlocks; ++block) {
            playBlock(PlayedBlock::kNotWritten, nextLength(std::numeric_limits<std::int32_t>::max()));
        }
        transport_.setPlaying(true);
        roll(inputFrames);
    }

private:
    // Plays the input to its end, jumping back at the loop's end as often
    // as the script says. A block that crosses the loop's end is cut there
    // and its rest played from the loop's start, as one host cycle.
    void roll(std::int64_t inputFrames) {
        std::int64_t input = 0;
        std::int64_t loopStartFrame = kNotFound;
        std::int32_t jumpsLeft = script_.loop ? script_.loop->count : 0;
        std::int64_t rest = 0;
        while (input < inputFrames) {
            const std::int64_t left = inputFrames - input;
            std::int64_t frames = std::min(rest > 0 ? rest : nextLength(left), left);
            rest = 0;
            if (jumpsLeft > 0) {
                applyTempo();
                // The input frame that plays again after each jump: the
                // first one at or after the loop's start.
                const std::int64_t toStart = transport_.framesBefore(script_.loop->start, frames);
                if (loopStartFrame == kNotFound && toStart < frames) loopStartFrame = input + toStart;
                const std::int64_t toEnd = transport_.framesBefore(script_.loop->end, frames);
                if (toEnd < frames) {
                    rest = frames - toEnd;
                    frames = toEnd;
                }
            }
            if (frames > 0) {
                playBlock(input, frames);
                input += frames;
            }
            if (rest > 0) {
                transport_.locate(script_.loop->start);
                input = loopStartFrame;
                --jumpsLeft;
            }
        }
    }

    std::int64_t nextLength(std::int64_t left) {
        return std::clamp<std::int64_t>(sizer_(outputFrame_, left), 1, std::numeric_limits<std::int32_t>::max());
    }

    void applyTempo() {
        const double tempo = script_.tempo.tempoAt(transport_.position());
        if (tempo != transport_.tempo()) transport_.setTempo(tempo);
    }

    void setParameters(PlayedBlock& block) {
        if (first_) {
            for (const auto& [index, value] : script_.settings) set(block, index, value);
        }
        for (std::size_t i = 0; i < script_.automation.size(); ++i) {
            const ParameterAutomation& automation = script_.automation[i];
            const float value = automation.valueAt(transport_.position());
            if (sent_[i] && std::bit_cast<std::uint32_t>(*sent_[i]) == std::bit_cast<std::uint32_t>(value)) continue;
            set(block, automation.index, value);
            sent_[i] = value;
        }
    }

    void set(PlayedBlock& block, std::int32_t index, float value) {
        effect_.setParameter(index, value);
        block.parametersSet.emplace_back(index, value);
    }

    // One processing call; inputFrame is kNotWritten for a count-in block,
    // which is fed silence and whose output is dropped.
    void playBlock(std::int64_t inputFrame, std::int64_t frames) {
        applyTempo();
        const bool written = inputFrame != PlayedBlock::kNotWritten;
        PlayedBlock block;
        block.outputFrame = written ? outputFrame_ : PlayedBlock::kNotWritten;
        block.inputFrame = inputFrame;
        block.frames = static_cast<std::int32_t>(frames);
        setParameters(block);
        const BlockTime time = transport_.blockTime();
        block.time = effect_.told(time);

        const auto length = static_cast<std::size_t>(frames);
        input_.left.resize(length);
        input_.right.resize(length);
        output_.left.resize(length);
        output_.right.resize(length);
        if (written) {
            streams_.readInput(inputFrame, input_);
        } else {
            std::fill(input_.left.begin(), input_.left.end(), 0.0f);
            std::fill(input_.right.begin(), input_.right.end(), 0.0f);
        }
        float* inputs[2] = {input_.left.data(), input_.right.data()};
        float* outputs[2] = {output_.left.data(), output_.right.data()};
        effect_.process(time, inputs, outputs, block.frames);
        if (written) {
            streams_.writeOutput(output_);
            outputFrame_ += frames;
        }
        transport_.advance(frames);
        first_ = false;
        streams_.played(block);
    }

    HostedEffect& effect_;
    Transport& transport_;
    const PlaybackScript& script_;
    const BlockSizer& sizer_;
    PlaybackStreams& streams_;
    // The value last set by each automation, none before the first block.
    std::vector<std::optional<float>> sent_;
    bool first_ = true;
    std::int64_t outputFrame_ = 0;
    StereoBuffer input_;
    StereoBuffer output_;
};

void requirePlayable(const PlaybackScript& script) {
    if (!script.loop) return;
    const LoopRange& loop = *script.loop;
    if (!(loop.start < loop.end) || !(loop.start >= script.start) || loop.count < 0) {
        throw std::invalid_argument("a loop must end after it starts, not start before the first frame, and not "
                                    "repeat a negative number of times");
    }
}

class MemoryStreams : public PlaybackStreams {
public:
    MemoryStreams(const StereoBuffer& input, StereoBuffer& output) : input_(input), output_(output) {}

    void readInput(std::int64_t firstFrame, StereoBuffer& block) override {
        const auto first = static_cast<std::ptrdiff_t>(firstFrame);
        const auto frames = static_cast<std::ptrdiff_t>(block.frames());
        std::copy_n(input_.left.begin() + first, frames, block.left.begin());
        std::copy_n(input_.right.begin() + first, frames, block.right.begin());
    }

    void writeOutput(const StereoBuffer& block) override {
        output_.left.insert(output_.left.end(), block.left.begin(), block.left.end());
        output_.right.insert(output_.right.end(), block.right.begin(), block.right.end());
    }

    void played(const PlayedBlock& block) override { played_.push_back(block); }

    std::vector<PlayedBlock> takePlayed() { return std::move(played_); }

private:
    const StereoBuffer& input_;
    StereoBuffer& output_;
    std::vector<PlayedBlock> played_;
};

}  // namespace

void playScript(HostedEffect& effect, Transport& transport, const PlaybackScript& script, const BlockSizer& sizer,
                std::int64_t inputFrames, PlaybackStreams& streams) {
    requirePlayable(script);
    Player(effect, transport, script, sizer, streams).play(inputFrames);
}

std::vector<PlayedBlock> playScript(HostedEffect& effect, Transport& transport, const PlaybackScript& script,
                                    const BlockSizer& sizer, const StereoBuffer& input, StereoBuffer& output) {
    output = StereoBuffer();
    MemoryStreams streams(input, output);
    playScript(effect, transport, script, sizer, static_cast<std::int64_t>(input.frames()), streams);
    return streams.takePlayed();
}

}  // namespace pluginhost
