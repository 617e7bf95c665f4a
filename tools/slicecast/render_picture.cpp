#include "render_picture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "beat_grid.h"
#include "pass_marks.h"
#include "plot_drawing.h"
#include "parameter_tables.h"
#include "plot_layout.h"
#include "slicecast_identity.h"

namespace slicecastcli {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    return text;
}

std::string tempoText(const std::vector<vsthost::PlayedBlock>& blocks) {
    double lowest = 0.0;
    double highest = 0.0;
    for (const vsthost::PlayedBlock& block : blocks) {
        if (!block.written()) continue;
        lowest = lowest == 0.0 ? block.time.tempo : std::min(lowest, block.time.tempo);
        highest = std::max(highest, block.time.tempo);
    }
    return (lowest == highest ? number(lowest) : number(lowest) + " to " + number(highest)) + " BPM";
}

// Parameters the host changed after the first block.
std::string automatedText(const std::vector<vsthost::PlayedBlock>& blocks, const PictureFacts& facts) {
    std::set<VstInt32> automated;
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        for (const auto& [index, value] : blocks[i].parametersSet) automated.insert(index);
    }
    std::string names;
    for (const ParameterValue& parameter : facts.parameters) {
        if (automated.count(parameter.index) != 0) names += (names.empty() ? "" : ", ") + parameter.name;
    }
    return names.empty() ? names : "   automated: " + names;
}

std::string detailsText(const std::vector<vsthost::PlayedBlock>& blocks, const PictureFacts& facts) {
    std::string details = tempoText(blocks) + "   " + std::to_string(facts.sampleRate) + " Hz  ";
    for (const ParameterValue& parameter : facts.parameters) {
        details += "  " + parameter.name + " " + parameter.display + (parameter.label.empty() ? "" : " ") +
                   parameter.label;
    }
    return details + automatedText(blocks, facts);
}

// Effects with more parameters than this are captioned with the settings
// given alone.
constexpr VstInt32 kCaptionParameters = 8;

}  // namespace

PictureFacts pictureFacts(vsthost::PluginInstance& instance, const std::string& inputPath, int sampleRate,
                          const std::vector<ParameterValue>& settings) {
    PictureFacts facts;
    facts.title = std::filesystem::path(inputPath).filename().string() + " through " + instance.effectName();
    facts.sampleRate = sampleRate;
    const VstInt32 count = instance.effect()->numParams;
    if (count <= kCaptionParameters) {
        for (VstInt32 index = 0; index < count; ++index) {
            facts.parameters.push_back(parameterValue(instance, index, instance.getParameter(index)));
        }
    } else {
        facts.parameters = settings;
    }
    if (instance.effect()->uniqueID == slicecast::kUniqueId) {
        facts.slicecastLengths.emplace(instance.getParameter(slicecast::kWaveLength),
                                       instance.getParameter(slicecast::kUpdatePeriod));
    }
    return facts;
}

RenderPicture::RenderPicture(std::string path, int channels, PictureFacts facts)
    : path_(std::move(path)), facts_(std::move(facts)) {
    for (int channel = 0; channel < channels; ++channel) {
        dry_.emplace_back(plot::plotColumns());
        processed_.emplace_back(plot::plotColumns());
    }
}

void RenderPicture::add(const vsthost::StereoBuffer& dry, const vsthost::StereoBuffer& processed) {
    const std::vector<float>* dryChannels[2] = {&dry.left, &dry.right};
    const std::vector<float>* processedChannels[2] = {&processed.left, &processed.right};
    for (std::size_t channel = 0; channel < dry_.size(); ++channel) {
        dry_[channel].add(dryChannels[channel]->data(), dryChannels[channel]->size());
        processed_[channel].add(processedChannels[channel]->data(), processedChannels[channel]->size());
    }
}

void RenderPicture::draw(const std::vector<vsthost::PlayedBlock>& blocks) {
    PlotContent content{std::move(dry_), std::move(processed_), beatGrid(blocks), std::nullopt, facts_.title,
                        detailsText(blocks, facts_)};
    if (facts_.slicecastLengths) {
        content.passes = slicecastPassMarks(blocks, static_cast<float>(facts_.sampleRate),
                                            facts_.slicecastLengths->first, facts_.slicecastLengths->second);
    }
    file_.emplace(path_);
    try {
        drawPlot(content, path_, file_->temporaryPath().string());
    } catch (...) {
        releaseFontCaches();
        throw;
    }
    releaseFontCaches();
}

void RenderPicture::commit() { file_->commit(); }

}  // namespace slicecastcli
