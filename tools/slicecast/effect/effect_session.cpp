#include "effect_session.h"

#include "clap_effect.h"
#include "lv2_effect.h"
#include "plugin_format.h"
#include "vst3_effect.h"
#include "vst_effect.h"

namespace slicecastcli {

namespace {

std::unique_ptr<pluginhost::HostedEffect> loadEffect(const std::string& plugin) {
    switch (pluginFormatOf(plugin)) {
        case pluginhost::PluginFormat::Vst2: return std::make_unique<pluginhost::VstEffect>(plugin);
        case pluginhost::PluginFormat::Lv2: return std::make_unique<pluginhost::Lv2Effect>(plugin);
        case pluginhost::PluginFormat::Clap: return std::make_unique<pluginhost::ClapEffect>(plugin);
        case pluginhost::PluginFormat::Vst3: return std::make_unique<pluginhost::Vst3Effect>(plugin);
    }
    throw pluginhost::HostError("no host for the format of " + plugin);
}

}  // namespace

EffectSession::EffectSession(const std::string& plugin) : effect_(loadEffect(plugin)) {}

void EffectSession::switchOn(double sampleRate, double tempo, double start, std::int32_t blockSize) {
    transport_ = pluginhost::Transport(sampleRate, tempo, start);
    effect_->activate(sampleRate, blockSize);
}

void EffectSession::play(const pluginhost::PlaybackScript& script, const pluginhost::BlockSizer& sizer,
                         std::int64_t inputFrames, pluginhost::PlaybackStreams& streams) {
    pluginhost::playScript(*effect_, transport_, script, sizer, inputFrames, streams);
}

}  // namespace slicecastcli
