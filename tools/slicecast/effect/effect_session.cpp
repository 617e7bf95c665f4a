#include "effect_session.h"

#include "clap_effect.h"
#include "lv2_effect.h"
#include "plugin_format.h"
#include "vst_effect.h"

namespace slicecastcli {

namespace {

std::unique_ptr<vsthost::HostedEffect> loadEffect(const std::string& plugin) {
    switch (pluginFormatOf(plugin)) {
        case vsthost::PluginFormat::Vst2: return std::make_unique<vsthost::VstEffect>(plugin);
        case vsthost::PluginFormat::Lv2: return std::make_unique<vsthost::Lv2Effect>(plugin);
        case vsthost::PluginFormat::Clap: return std::make_unique<vsthost::ClapEffect>(plugin);
    }
    throw vsthost::HostError("no host for the format of " + plugin);
}

}  // namespace

EffectSession::EffectSession(const std::string& plugin) : effect_(loadEffect(plugin)) {}

void EffectSession::switchOn(double sampleRate, double tempo, double start, std::int32_t blockSize) {
    transport_ = vsthost::Transport(sampleRate, tempo, start);
    effect_->activate(sampleRate, blockSize);
}

void EffectSession::play(const vsthost::PlaybackScript& script, const vsthost::BlockSizer& sizer,
                         std::int64_t inputFrames, vsthost::PlaybackStreams& streams) {
    vsthost::playScript(*effect_, transport_, script, sizer, inputFrames, streams);
}

}  // namespace slicecastcli
