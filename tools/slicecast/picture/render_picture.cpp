#include "render_picture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "parameter_tables.h"
#include "plot_file.h"
#include "plot_layout.h"

namespace slicecastcli {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

// The block as the picture's marks need it.
picture::PictureBlock pictureBlock(const pluginhost::PlayedBlock& block) {
    const pluginhost::BlockTime& time = block.time;
    return {block.written() ? block.outputFrame : picture::PictureBlock::kNotWritten, block.frames,
            {time.sampleRate, time.position, time.tempo, time.playing, time.positionValid, time.tempoValid}};
}

// Effects with more parameters than this are captioned with the settings
// given alone.
constexpr std::int32_t kCaptionParameters = 8;

}  // namespace

PictureFacts pictureFacts(pluginhost::HostedEffect& effect, const std::string& inputPath, int sampleRate,
                          const std::vector<ParameterValue>& settings) {
    PictureFacts facts;
    facts.title = std::filesystem::path(inputPath).filename().string() + " through " + effect.name();
    facts.sampleRate = sampleRate;
    const std::int32_t count = effect.parameterCount();
    if (count <= kCaptionParameters) {
        for (std::int32_t index = 0; index < count; ++index) {
            facts.parameters.push_back(parameterValue(effect, index, effect.parameter(index)));
        }
    } else {
        facts.parameters = settings;
    }
    if (const auto steps = SlicecastSteps::of(effect)) {
        facts.slicecast.emplace(*steps, effect.parameter(slicecast::kWaveLength),
                                effect.parameter(slicecast::kUpdatePeriod));
    }
    return facts;
}

RenderPicture::RenderPicture(std::string path, int channels, PictureFacts facts)
    : path_(std::move(path)), facts_(std::move(facts)) {
    if (facts_.slicecast) {
        const SlicecastSteps& steps = facts_.slicecast->steps;
        passes_.emplace(static_cast<float>(facts_.sampleRate), steps.waveLength(facts_.slicecast->waveLength),
                        steps.updatePeriod(facts_.slicecast->updatePeriod));
    }
    for (int channel = 0; channel < channels; ++channel) {
        dry_.emplace_back(picture::plot::plotColumns());
        processed_.emplace_back(picture::plot::plotColumns());
    }
}

void RenderPicture::add(const pluginhost::StereoBuffer& dry, const pluginhost::StereoBuffer& processed) {
    const std::vector<float>* dryChannels[2] = {&dry.left, &dry.right};
    const std::vector<float>* processedChannels[2] = {&processed.left, &processed.right};
    for (std::size_t channel = 0; channel < dry_.size(); ++channel) {
        dry_[channel].add(dryChannels[channel]->data(), dryChannels[channel]->size());
        processed_[channel].add(processedChannels[channel]->data(), processedChannels[channel]->size());
    }
}

void RenderPicture::play(const pluginhost::PlayedBlock& block) {
    const picture::PictureBlock marked = pictureBlock(block);
    picture::addBeats(marked, beats_);
    if (passes_) {
        const SlicecastSteps& steps = facts_.slicecast->steps;
        for (const auto& [index, value] : block.parametersSet) {
            if (index == slicecast::kWaveLength) passes_->setWaveLength(steps.waveLength(value));
            if (index == slicecast::kUpdatePeriod) passes_->setUpdatePeriod(steps.updatePeriod(value));
        }
        passes_->play(marked);
    }
    if (blocksPlayed_++ > 0) {
        for (const auto& [index, value] : block.parametersSet) automated_.insert(index);
    }
    if (block.written()) {
        const double tempo = block.time.tempo;
        lowestTempo_ = lowestTempo_ == 0.0 ? tempo : std::min(lowestTempo_, tempo);
        highestTempo_ = std::max(highestTempo_, tempo);
    }
}

std::string RenderPicture::details() const {
    const std::string tempo =
        lowestTempo_ == highestTempo_ ? number(lowestTempo_) : number(lowestTempo_) + " to " + number(highestTempo_);
    std::string details = tempo + " BPM   " + std::to_string(facts_.sampleRate) + " Hz  ";
    std::string automated;
    for (const ParameterValue& parameter : facts_.parameters) {
        details += "  " + parameter.name + " " + parameter.display + (parameter.label.empty() ? "" : " ") +
                   parameter.label;
        if (automated_.count(parameter.index) != 0) automated += (automated.empty() ? "" : ", ") + parameter.name;
    }
    return details + (automated.empty() ? "" : "   automated: " + automated);
}

void RenderPicture::draw() {
    picture::PlotContent content{std::move(dry_), std::move(processed_), std::move(beats_), std::nullopt,
                                 facts_.title, details()};
    if (passes_) content.passes = passes_->marks();
    file_.emplace(path_);
    writePlot(content, path_, file_->temporaryPath().string());
}

void RenderPicture::commit() { file_->commit(); }

}  // namespace slicecastcli
