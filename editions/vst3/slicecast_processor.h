// SlicecastProcessor: the audio side of the VST 3 edition (the "Audio
// Module Class"). A thin adapter: one stereo bus each way, the parameters as
// the host's queues bring them (a program change among them sets the six to
// its preset's values at its point), each block cut where a change point
// falls so that the frames before it play with the values before it, the
// saved state with the program chosen last, and the sound.
//
// Threads: process and setProcessing come from the audio thread, the rest
// from the host's main thread, and setState may come while blocks are
// processed. The values meet in relaxed atomics; a revision counts the
// values set outside processing, so that the next block knows to map them
// all again. Nothing in process allocates, locks or waits.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>

#include "change_points.h"
#include "connection_peer.h"
#include "reference_count.h"
#include "slicecast_sound.h"
#include "summary_handover.h"
#include "vst3_abi.h"
#include "vst3_parameters.h"

namespace slicecast {

class SlicecastProcessor final : public vst3::IComponent,
                                 public vst3::IAudioProcessor,
                                 public vst3::IProcessContextRequirements,
                                 public vst3::IConnectionPoint {
public:
    // A new processor with one reference, or null when no storage can be
    // had.
    static vst3::FUnknown* create() noexcept;

    // Instances live in zero-filled heap storage (the sound's capture
    // buffers are part of them).
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* storage) noexcept;

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL release() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL initialize(vst3::FUnknown* context) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL terminate() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL getControllerClassId(vst3::TUID classId) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setIoMode(vst3::IoMode mode) noexcept override;
    vst3::int32 SLICECAST_VST3_CALL getBusCount(vst3::MediaType type, vst3::BusDirection direction) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getBusInfo(vst3::MediaType type, vst3::BusDirection direction, vst3::int32 index,
                                                 vst3::BusInfo& bus) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getRoutingInfo(vst3::RoutingInfo& input,
                                                     vst3::RoutingInfo& output) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL activateBus(vst3::MediaType type, vst3::BusDirection direction,
                                                  vst3::int32 index, vst3::TBool state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setActive(vst3::TBool state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setState(vst3::IBStream* state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getState(vst3::IBStream* state) noexcept override;

    vst3::tresult SLICECAST_VST3_CALL setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                                         vst3::SpeakerArrangement* outputs,
                                                         vst3::int32 numOuts) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL getBusArrangement(vst3::BusDirection direction, vst3::int32 index,
                                                        vst3::SpeakerArrangement& arrangement) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL canProcessSampleSize(vst3::int32 symbolicSampleSize) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL getLatencySamples() noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setupProcessing(vst3::ProcessSetup& setup) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL setProcessing(vst3::TBool state) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL process(vst3::ProcessData& data) noexcept override;
    vst3::uint32 SLICECAST_VST3_CALL getTailSamples() noexcept override;

    vst3::uint32 SLICECAST_VST3_CALL getProcessContextRequirements() noexcept override;

    vst3::tresult SLICECAST_VST3_CALL connect(vst3::IConnectionPoint* other) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL disconnect(vst3::IConnectionPoint* other) noexcept override;
    vst3::tresult SLICECAST_VST3_CALL notify(vst3::IMessage* message) noexcept override;

private:
    SlicecastProcessor() noexcept;
    ~SlicecastProcessor() = default;

    // The block's parameter changes alone, for a call that brings no audio
    // to play.
    void applyChanges() noexcept;
    void set(vst3::ParamID id, double normalized) noexcept;
    // A program other than the one chosen sets the six values to its own.
    void choose(std::int32_t program) noexcept;
    // The values in the sound's terms, mapped again when a value was set
    // outside processing since the last look.
    void catchUp() noexcept;
    NormalizedValues values() const noexcept;

    ReferenceCount references_;
    ConnectionPeer peer_;
    // From initialize to terminate: the host's application, which makes the
    // hand-over message, and the feed the editor reads.
    HeldReference<vst3::IHostApplication> host_;
    HeldFeed feed_;
    bool initialized_ = false;
    bool active_ = false;

    // The normalized values as kept; read by the main thread, set by both.
    std::array<std::atomic<double>, kVst3ParameterCount> values_;
    // The same values as the state saves them: the plain values a loaded
    // state held, which a percentage's normalized value cannot always give
    // back exactly (p / 100 x 100 is not always p), until the host changes
    // them.
    std::array<std::atomic<double>, kVst3ParameterCount> plain_;
    std::atomic<std::uint32_t> revision_{0};
    // The program chosen last, as the state saves it.
    std::atomic<std::int32_t> program_{0};
    static_assert(std::atomic<double>::is_always_lock_free);
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free);

    // The rate of the last setup, and the one of the activation in force,
    // held in single precision as the sound takes it (44100 Hz before any
    // setup, as in the VST 2.4 edition).
    float setupRate_ = 44100.0f;
    float activeRate_ = 44100.0f;
    // The tempo the last block played at, for the tail.
    std::atomic<double> lastTempo_{kDefaultTempo};

    // Touched by processing alone.
    SoundParameters parameters_;
    std::uint32_t mappedRevision_ = 0;
    ChangePoints changes_;
    SlicecastSound sound_;
};

}  // namespace slicecast
