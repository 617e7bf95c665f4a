// The LV2 edition's door: atom sequences on the control port (objects of
// any type, time:Position with any keys in any numeric type or none,
// absurd values, events out of order or past the block, bytes changed
// anywhere inside the sequence), control ports with any float or none at
// all, with and without urid:map, audio ports apart or in place.
//
// Two instances run the same script: the reference with its own input and
// output buffers, the other in place where the script says so; both must
// play the same bits, within what the sound can reach.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/time/time.h>
#include <lv2/urid/urid.h>

#include "byte_reader.h"
#include "fuzz_checks.h"
#include "urid_map.h"

extern "C" const LV2_Descriptor* lv2_descriptor(std::uint32_t index);

namespace slicecastfuzz {
namespace {

constexpr std::uint32_t kMostFrames = 1024;
constexpr std::size_t kSequenceBytes = 2048;
constexpr std::uint32_t kControlPort = 10;
constexpr std::uint32_t kFirstParameterPort = 4;
constexpr std::uint32_t kParameterPorts = 6;

constexpr std::array<const char*, 9> kTimeKeys{
    LV2_TIME__beat,        LV2_TIME__bar,   LV2_TIME__barBeat, LV2_TIME__beatsPerBar, LV2_TIME__beatUnit,
    LV2_TIME__beatsPerMinute, LV2_TIME__speed, LV2_TIME__frame, LV2_ATOM__Float};

class Instance {
public:
    Instance(double rate, const LV2_Feature* const* features) {
        const LV2_Descriptor* descriptor = lv2_descriptor(0);
        handle_ = descriptor->instantiate(descriptor, rate, "", features);
        require(handle_ != nullptr, "instantiate");
        descriptor->activate(handle_);
    }
    ~Instance() {
        lv2_descriptor(0)->deactivate(handle_);
        lv2_descriptor(0)->cleanup(handle_);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    void connect(std::uint32_t port, void* data) { lv2_descriptor(0)->connect_port(handle_, port, data); }
    void run(std::uint32_t frames) { lv2_descriptor(0)->run(handle_, frames); }

private:
    LV2_Handle handle_ = nullptr;
};

class Session {
public:
    explicit Session(ByteReader& input) : input_(input) {
        lv2_atom_forge_init(&forge_, map_.feature());
        const double rate = input_.flag() ? input_.anyDouble() : input_.valueIn(8000.0, 192000.0);
        withMap_ = input_.choice(8) != 0;
        const LV2_Feature* const none[] = {nullptr};
        const LV2_Feature* const withMap[] = {&mapFeature_, nullptr};
        reference_ = std::make_unique<Instance>(rate, withMap_ ? withMap : none);
        fuzzed_ = std::make_unique<Instance>(rate, withMap_ ? withMap : none);
        for (std::uint32_t port = 0; port < kParameterPorts; ++port) {
            reference_->connect(kFirstParameterPort + port, &controls_[port]);
            fuzzed_->connect(kFirstParameterPort + port, &controls_[port]);
        }
    }

    void play() {
        while (!input_.empty()) {
            switch (input_.choice(4)) {
                case 0: controls(); break;
                default: run(); break;
            }
        }
    }

private:
    void controls() {
        const auto port = static_cast<std::uint32_t>(input_.choice(kParameterPorts));
        controls_[port] = input_.flag() ? input_.anyFloat() : static_cast<float>(input_.valueIn(0.0, 100.0));
        if (input_.choice(8) == 0) {
            const bool connected = input_.flag();
            reference_->connect(kFirstParameterPort + port, connected ? &controls_[port] : nullptr);
            fuzzed_->connect(kFirstParameterPort + port, connected ? &controls_[port] : nullptr);
        }
    }

    LV2_URID anyKey() {
        if (input_.choice(8) == 0) return input_.anyInteger<LV2_URID>();
        return map_.map(kTimeKeys[input_.choice(kTimeKeys.size())]);
    }

    void number() {
        switch (input_.choice(6)) {
            case 0: lv2_atom_forge_double(&forge_, input_.valueIn(-16.0, 512.0)); break;
            case 1: lv2_atom_forge_float(&forge_, static_cast<float>(input_.valueIn(-16.0, 512.0))); break;
            case 2: lv2_atom_forge_long(&forge_, input_.anyInteger<std::int64_t>()); break;
            case 3: lv2_atom_forge_int(&forge_, input_.integer(-4, 300)); break;
            case 4: lv2_atom_forge_bool(&forge_, input_.flag()); break;
            default: lv2_atom_forge_string(&forge_, "4", 1); break;
        }
    }

    // An object of time:Position or any other type, with any keys.
    void object() {
        LV2_Atom_Forge_Frame frame;
        const LV2_URID type = input_.choice(4) == 0 ? anyKey() : map_.map(LV2_TIME__Position);
        const LV2_Atom_Forge_Ref written = lv2_atom_forge_object(&forge_, &frame, 0, type);
        if (written == 0) return;
        // Older hosts send the same object as a blank one.
        if (input_.flag()) lv2_atom_forge_deref(&forge_, written)->type = map_.map(LV2_ATOM__Blank);
        const std::size_t keys = input_.integer<std::size_t>(0, 8);
        for (std::size_t k = 0; k < keys; ++k) {
            lv2_atom_forge_key(&forge_, anyKey());
            number();
        }
        lv2_atom_forge_pop(&forge_, &frame);
    }

    // The control port's sequence, in frames or another unit, then bytes
    // changed inside it (the sequence's own header and size kept).
    void sequence(std::uint32_t frames) {
        sequence_.fill(0);
        lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<std::uint8_t*>(sequence_.data()), kSequenceBytes);
        LV2_Atom_Forge_Frame frame;
        const std::array<LV2_URID, 4> units{0, map_.map(LV2_ATOM__frameTime), map_.map(LV2_ATOM__beatTime),
                                            input_.anyInteger<LV2_URID>()};
        lv2_atom_forge_sequence_head(&forge_, &frame, units[input_.choice(units.size())]);
        const std::size_t events = input_.integer<std::size_t>(0, 6);
        for (std::size_t e = 0; e < events; ++e) {
            const std::int64_t time = input_.choice(8) == 0 ? input_.anyInteger<std::int64_t>()
                                                            : input_.integer<std::int64_t>(0, frames + 2);
            if (!lv2_atom_forge_frame_time(&forge_, time)) break;
            if (input_.choice(6) == 0) number();
            else object();
        }
        lv2_atom_forge_pop(&forge_, &frame);
        auto* bytes = reinterpret_cast<std::uint8_t*>(sequence_.data());
        const std::size_t used = sizeof(LV2_Atom) + reinterpret_cast<LV2_Atom*>(bytes)->size;
        const std::size_t changes = input_.choice(4) == 0 ? input_.integer<std::size_t>(1, 4) : 0;
        for (std::size_t c = 0; c < changes && used > 16; ++c) {
            bytes[16 + input_.choice(used - 16)] = input_.anyInteger<std::uint8_t>();
        }
    }

    void run() {
        const std::uint32_t frames = input_.integer<std::uint32_t>(0, kMostFrames);
        const bool inPlace = input_.flag();
        for (auto& channel : input) std::generate_n(channel.begin(), frames, [this] { return input_.sample(); });
        std::array<std::vector<float>, 2> heard = input;
        std::array<std::vector<float>, 2> played{std::vector<float>(kMostFrames), std::vector<float>(kMostFrames)};
        const bool withSequence = withMap_ && input_.choice(4) != 0;
        if (withSequence) sequence(frames);
        const std::array<std::uint64_t, kSequenceBytes / 8> sent = sequence_;

        for (std::uint32_t channel = 0; channel < 2; ++channel) {
            reference_->connect(channel, heard[channel].data());
            reference_->connect(2 + channel, played[channel].data());
            fuzzed_->connect(channel, input[channel].data());
            fuzzed_->connect(2 + channel, inPlace ? input[channel].data() : output[channel].data());
        }
        reference_->connect(kControlPort, withSequence ? sequence_.data() : nullptr);
        fuzzed_->connect(kControlPort, withSequence ? sequence_.data() : nullptr);
        reference_->run(frames);
        fuzzed_->run(frames);
        require(sequence_ == sent, "the control port's sequence written");
        for (std::size_t channel = 0; channel < 2; ++channel) {
            requireSameBits(heard[channel].data(), input[channel].data(), inPlace ? 0 : frames, "an input written");
            requireBounded(played[channel].data(), frames, "a sample out of bounds");
            const float* fuzzedPlayed = inPlace ? input[channel].data() : output[channel].data();
            requireSameBits(played[channel].data(), fuzzedPlayed, frames, "in place changed the sound");
        }
    }

    ByteReader& input_;
    lv2host::UridMap map_;
    LV2_Feature mapFeature_{LV2_URID__map, map_.feature()};
    LV2_Atom_Forge forge_{};
    bool withMap_ = true;
    std::array<float, kParameterPorts> controls_{1.0f, 1.0f, 70.0f, 0.0f, 100.0f, 100.0f};
    alignas(8) std::array<std::uint64_t, kSequenceBytes / 8> sequence_{};
    std::unique_ptr<Instance> reference_;
    std::unique_ptr<Instance> fuzzed_;
    std::array<std::vector<float>, 2> input{std::vector<float>(kMostFrames), std::vector<float>(kMostFrames)};
    std::array<std::vector<float>, 2> output{std::vector<float>(kMostFrames), std::vector<float>(kMostFrames)};
};

}  // namespace
}  // namespace slicecastfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slicecastfuzz::ByteReader input(data, size);
    slicecastfuzz::Session(input).play();
    return 0;
}
