// One CLAP plug-in instance driven the way a host drives it:
//
//   ClapLibrary library(path);          // entry init
//   HostObject host;
//   ClapInstance plugin(library, host, id);   // create + init
//   plugin.activate(48000.0, 1, 1024);
//   plugin.startProcessing();
//   plugin.process({in, out, frames, &transport, &events});
//   ...                                 // destruction stops, deactivates, destroys
//
// Every call is checked against the life cycle (activate only while
// inactive, process only while processing, ...) and a wrong order throws
// HostError, so that a caller's mistake is never passed on to the plug-in.
// Extensions the plug-in does not offer throw HostError when used.
// Audio-thread calls (start/stop_processing, process, reset, flush while
// active) take the audio-thread role for their duration.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clap_abi.h"
#include "clap_event_list.h"
#include "clap_host_object.h"
#include "clap_library.h"

namespace claphost {

// One stereo block. Output pointers may equal the input ones (in place).
struct StereoBlock {
    const float* inLeft = nullptr;
    const float* inRight = nullptr;
    float* outLeft = nullptr;
    float* outRight = nullptr;
    std::uint32_t frames = 0;
    // The first frame's transport, or null (a free-running host).
    const clap::EventTransport* transport = nullptr;
    // Events inside the block, or null for none.
    const EventList* events = nullptr;
    std::int64_t steadyTime = -1;
    // Takes what the plug-in sends back (an editor's gestures), or null.
    EventSink* outEvents = nullptr;
};

class ClapInstance {
public:
    // Creates the plug-in of that id (the library's first when empty) and
    // inits it; throws HostError when either fails.
    ClapInstance(const ClapLibrary& library, const HostObject& host, const std::string& pluginId = {});
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    const clap::Plugin& plugin() const { return *plugin_; }
    const clap::PluginDescriptor& descriptor() const { return *plugin_->desc; }
    const void* extension(const char* id) const { return plugin_->getExtension(plugin_, id); }

    bool activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap::ProcessStatus process(const StereoBlock& block);
    bool active() const { return active_; }
    bool processing() const { return processing_; }

    // audio-ports
    std::vector<clap::AudioPortInfo> audioPorts(bool input) const;

    // params
    std::uint32_t parameterCount() const;
    std::optional<clap::ParamInfo> parameterInfo(std::uint32_t index) const;
    std::optional<double> parameterValue(clap::Id id) const;
    std::optional<std::string> valueToText(clap::Id id, double value, std::uint32_t capacity = 256) const;
    std::optional<double> textToValue(clap::Id id, const std::string& text) const;
    // Parameter events outside processing (or between blocks while active);
    // out takes what the plug-in sends back.
    void flush(const EventList& events, EventSink* out = nullptr);

    // gui: whether the plug-in has an editor for the api's window system,
    // embedded.
    bool hasEditor(const char* api) const;
    // Opens it inside parent (a window of that system) as hosts do: create,
    // the scale where the host tells one (0: none), the size, the parent,
    // show. Its size in pixels, or none when the plug-in refuses a step
    // (what it made is then destroyed).
    std::optional<std::pair<std::uint32_t, std::uint32_t>> openEditor(const char* api, std::uintptr_t parent,
                                                                      double scale);
    // Hides and destroys it; nothing when none is open.
    void closeEditor();
    bool editorOpen() const { return editorOpen_; }

    // state: save through a stream moving at most bytesPerCall bytes a call.
    std::optional<std::vector<std::uint8_t>> saveState(std::uint64_t bytesPerCall = UINT64_MAX) const;
    bool loadState(const std::vector<std::uint8_t>& bytes, std::uint64_t bytesPerCall = UINT64_MAX);

private:
    const clap::PluginParams& params() const;
    const clap::PluginState& state() const;
    const clap::PluginGui* gui() const;

    const clap::Plugin* plugin_ = nullptr;
    bool active_ = false;
    bool processing_ = false;
    bool editorOpen_ = false;
    std::uint32_t minFrames_ = 0;
    std::uint32_t maxFrames_ = 0;
};

}  // namespace claphost
