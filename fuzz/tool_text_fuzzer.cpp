// The render tool's texts, read by its own parsers in-process: tempo maps,
// loops, block lengths, automation lists, --set values and --preset names
// (against Slicecast's VST 2.4 and CLAP editions, as the tool loads them)
// and the batch plan's inputs, output folder, extension and encoding.
//
// A text that cannot work must end in the tool's own kind of error with a
// message that says something; one that is taken must give what it
// promises (tempos above 0 in order, points in order, values within the
// parameter's range, each output in the output folder and apart from every
// input); and a refused --automate leaves the parameters as they were.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "clap_effect.h"
#include "commands/batch_plan.h"
#include "commands/usage_error.h"
#include "effect/automation_settings.h"
#include "effect/parameter_settings.h"
#include "effect/preset_choice.h"
#include "fuzz_checks.h"
#include "transport/transport_options.h"
#include "vst_effect.h"

namespace slicecastfuzz {
namespace {

namespace fs = std::filesystem;
using namespace slicecastcli;

// The pieces option texts are made of, besides single characters.
constexpr std::array<const char*, 37> kPieces{
    "120",  "0",     "-1",    "16",   ":",    ",",          "=",   "1/16",    "70",     "70%",
    " %",   "nan",   "inf",   "1e400", "0x1p3", " ",        "Rate", "WaveLength", "mix", "random:",
    "-",    "1e-320", "4294967296", "1/64", "4/1", "Huge!", "2",   "0.5",     "Decay",  "wav",
    "flac", "pcm16", "same",  "/",    "..",   "Bar Loop", "default"};

std::string textFrom(ByteReader& input) {
    std::string text;
    const std::size_t pieces = input.integer<std::size_t>(0, 12);
    for (std::size_t i = 0; i < pieces; ++i) {
        if (input.choice(4) == 0) text += static_cast<char>(input.anyInteger<std::uint8_t>());
        else text += kPieces[input.choice(kPieces.size())];
    }
    return text;
}

// The tool's errors: what it reports in one line and exits on.
template <typename Read>
void readOrRefuse(Read read) {
    try {
        read();
    } catch (const UsageError& error) {
        require(error.what()[0] != '\0', "an empty message");
    } catch (const std::invalid_argument& error) {
        require(error.what()[0] != '\0', "an empty message");
    } catch (const std::runtime_error& error) {
        require(error.what()[0] != '\0', "an empty message");
    }
}

void tempoMap(ByteReader& input) {
    const std::string text = textFrom(input);
    readOrRefuse([&] {
        const pluginhost::TempoMap map = parseTempo(text);
        require(std::isfinite(map.first()) && map.first() > 0.0, "a first tempo not above 0");
        double previous = -INFINITY;
        for (const pluginhost::TempoChange& change : map.changes()) {
            require(std::isfinite(change.position) && change.position > previous, "tempo changes out of order");
            require(std::isfinite(change.tempo) && change.tempo > 0.0, "a tempo not above 0");
            previous = change.position;
        }
    });
}

void transportTexts(ByteReader& input) {
    const std::string loop = textFrom(input);
    readOrRefuse([&] {
        const pluginhost::LoopRange range = parseLoop(loop);
        require(std::isfinite(range.start) && std::isfinite(range.end) && range.end > range.start, "a loop");
    });
    const std::string blocks = textFrom(input);
    readOrRefuse([&] {
        const BlockSizes sizes = parseBlockSizes(blocks);
        require(sizes.smallest >= 1 && sizes.smallest <= sizes.largest && sizes.largest <= kMaxBlockSize,
                "block lengths out of range");
        const pluginhost::BlockSizer sizer = sizes.sizer();
        for (std::int64_t first = 0; first < 4; ++first) {
            const std::int32_t length = sizer(first, kMaxBlockSize);
            require(length >= sizes.smallest && length <= sizes.largest, "a block length out of range");
        }
    });
}

// Slicecast as the tool loads it, its values back at the defaults for
// every input.
class LoadedEffect {
public:
    explicit LoadedEffect(std::unique_ptr<pluginhost::HostedEffect> effect) : effect_(std::move(effect)) {
        for (std::int32_t index = 0; index < effect_->parameterCount(); ++index)
            defaults_.push_back(effect_->parameter(index));
    }
    pluginhost::HostedEffect& fresh() {
        for (std::int32_t index = 0; index < effect_->parameterCount(); ++index)
            effect_->setParameter(index, defaults_[static_cast<std::size_t>(index)]);
        return *effect_;
    }

private:
    std::unique_ptr<pluginhost::HostedEffect> effect_;
    std::vector<float> defaults_;
};

pluginhost::HostedEffect& anEffect(ByteReader& input) {
    static LoadedEffect vst2(std::make_unique<pluginhost::VstEffect>(SLICECAST_FUZZ_VST2_EDITION));
    static LoadedEffect clap(std::make_unique<pluginhost::ClapEffect>(SLICECAST_FUZZ_CLAP_EDITION));
    return input.flag() ? vst2.fresh() : clap.fresh();
}

std::vector<float> valuesOf(pluginhost::HostedEffect& effect) {
    std::vector<float> values;
    for (std::int32_t index = 0; index < effect.parameterCount(); ++index) values.push_back(effect.parameter(index));
    return values;
}

void requireInRange(pluginhost::HostedEffect& effect, std::int32_t index, float value) {
    const pluginhost::ParameterRange range = effect.parameterRange(index);
    require(value >= range.minimum && value <= range.maximum, "a value outside the parameter's range");
}

void settings(ByteReader& input) {
    pluginhost::HostedEffect& effect = anEffect(input);
    std::vector<std::string> texts(input.integer<std::size_t>(1, 3));
    for (std::string& text : texts) text = textFrom(input);
    readOrRefuse([&] {
        for (const ParameterValue& set : applySettings(effect, texts)) requireInRange(effect, set.index, set.value);
    });
}

void automation(ByteReader& input) {
    pluginhost::HostedEffect& effect = anEffect(input);
    std::vector<std::string> texts(input.integer<std::size_t>(1, 2));
    for (std::string& text : texts) text = textFrom(input);
    const std::vector<float> before = valuesOf(effect);
    readOrRefuse([&] {
        std::vector<AutomationText> lists;
        for (const std::string& text : texts) {
            lists.push_back(parseAutomation(text));
            double previous = 0.0;
            for (const auto& [position, value] : lists.back().points) {
                require(std::isfinite(position) && position >= previous && !value.empty(), "automation points");
                previous = position;
            }
        }
        for (const pluginhost::ParameterAutomation& lane : resolveAutomation(effect, lists)) {
            for (const auto& point : lane.points) requireInRange(effect, lane.index, point.value);
        }
    });
    require(valuesOf(effect) == before, "--automate changed a parameter");
}

// --preset: a name the effect lists loads its values; any other is refused
// with the list, the values as they were.
void preset(ByteReader& input) {
    pluginhost::HostedEffect& effect = anEffect(input);
    const std::string name = textFrom(input);
    const std::vector<float> before = valuesOf(effect);
    try {
        (void)loadPreset(effect, name);
    } catch (const std::runtime_error& error) {
        require(error.what()[0] != '\0', "an empty message");
        require(valuesOf(effect) == before, "a refused preset changed a value");
    }
    for (std::int32_t index = 0; index < effect.parameterCount(); ++index)
        requireInRange(effect, index, effect.parameter(index));
}

// A scratch folder with a few sound files by name, and one that holds none.
const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        const fs::path made = fs::temp_directory_path() / ("slicecast-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made / "in");
        fs::create_directories(made / "empty");
        for (const char* name : {"a.wav", "b.flac", "a.aiff", ".hidden.wav", "notes.txt"})
            std::ofstream(made / "in" / name) << "x";
        return made;
    }();
    return folder;
}

void batchPlan(ByteReader& input) {
    const fs::path& scratch = scratchFolder();
    std::vector<std::string> inputs(input.integer<std::size_t>(1, 3));
    for (std::string& name : inputs) name = (scratch / textFrom(input)).string();
    const std::string out = (scratch / textFrom(input)).string();
    const std::string extension = textFrom(input);
    const std::string encoding = textFrom(input);
    readOrRefuse([&] {
        const std::vector<BatchFile> plan = planBatch(inputs, out, extension, encoding);
        for (std::size_t i = 0; i < plan.size(); ++i) {
            require(fs::path(plan[i].output).lexically_normal().parent_path() ==
                        (fs::path(out) / "").lexically_normal().parent_path(),
                    "an output outside the folder");
            for (std::size_t j = 0; j < plan.size(); ++j) {
                require(i == j || plan[i].output != plan[j].output, "two inputs written to one output");
                require(fs::weakly_canonical(plan[i].output) != fs::weakly_canonical(plan[j].input),
                        "an output that replaces an input");
            }
        }
    });
}

}  // namespace
}  // namespace slicecastfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slicecastfuzz::ByteReader input(data, size);
    switch (input.choice(6)) {
        case 5: slicecastfuzz::preset(input); break;
        case 0: slicecastfuzz::tempoMap(input); break;
        case 1: slicecastfuzz::transportTexts(input); break;
        case 2: slicecastfuzz::settings(input); break;
        case 3: slicecastfuzz::automation(input); break;
        default: slicecastfuzz::batchPlan(input); break;
    }
    return 0;
}
