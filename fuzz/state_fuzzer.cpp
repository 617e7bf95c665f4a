// The saved-state door, through each edition's own entry: CLAP's
// state.load, the VST 3 processor's setState and its controller's
// setComponentState. The stream moves any number of bytes per call, ends
// early, fails, or claims more than it was asked for; the state may start
// anywhere in a VST 3 stream.
//
// A state that loads must hold exactly the values its bytes say, and save
// back to them; a refused one leaves every value as it was.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "byte_reader.h"
#include "clap_plugin.h"
#include "clap_streams.h"
#include "memory_stream.h"
#include "vst3_plugin.h"

namespace slicecastfuzz {
namespace {

constexpr std::size_t kValueCount = 6;
constexpr std::size_t kStateBytes = 12 + 8 * kValueCount;
using Values = std::array<double, kValueCount>;

// The values a state's bytes hold: after "SLCS", its version and count,
// each as a little-endian double.
Values valuesOf(const std::uint8_t* state) {
    Values values{};
    for (std::size_t i = 0; i < kValueCount; ++i) {
        std::uint64_t bits = 0;
        for (std::size_t b = 0; b < 8; ++b) bits |= std::uint64_t{state[12 + 8 * i + b]} << (8 * b);
        std::memcpy(&values[i], &bits, sizeof bits);
    }
    return values;
}

// What the script hands over: a well-formed state of any values, of
// either version (the second with a factory preset's index), with bytes
// after it or without, or any bytes at all.
std::vector<std::uint8_t> payloadFrom(ByteReader& input) {
    if (input.choice(4) == 0) return input.bytes(kStateBytes + 8);
    const auto version = static_cast<std::uint8_t>(input.integer(1, 2));
    std::vector<std::uint8_t> bytes{'S', 'L', 'C', 'S', version, 0, 0, 0, kValueCount, 0, 0, 0};
    for (std::size_t i = 0; i < kValueCount; ++i) {
        const double value = input.flag() ? input.anyDouble() : input.valueIn(0.0, i < 2 ? 11.0 : 100.0);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (std::size_t b = 0; b < 8; ++b) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * b)));
    }
    if (version == 2) {
        const auto preset = input.flag() ? input.integer<std::uint32_t>(0, 15) : input.anyInteger<std::uint32_t>();
        for (std::size_t b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(preset >> (8 * b)));
    }
    if (input.choice(4) == 0) bytes[input.choice(bytes.size())] ^= input.anyInteger<std::uint8_t>();
    if (input.choice(4) == 0) bytes.resize(input.choice(bytes.size() + 4));
    return bytes;
}

// The host's side of a stream: each call moves what the script says, and
// what it handed over is kept to tell what the plug-in was given.
class ScriptedBytes {
public:
    ScriptedBytes(ByteReader& input, std::vector<std::uint8_t> bytes) : input_(input), bytes_(std::move(bytes)) {}

    // The count moved into buffer, 0 at the end, -1 on failure; or, now and
    // then, a count larger than asked (a broken stream).
    std::int64_t read(void* buffer, std::uint64_t asked) {
        const std::uint64_t left = bytes_.size() - at_;
        std::uint64_t moved = std::min(asked, left);
        switch (input_.choice(6)) {
            case 0: moved = std::min<std::uint64_t>(moved, 1); break;
            case 1: moved = std::min<std::uint64_t>(moved, input_.integer<std::uint64_t>(0, 16)); break;
            case 2:
                if (input_.choice(4) == 0) return -1;
                break;
            case 3:
                if (input_.choice(4) == 0) return static_cast<std::int64_t>(asked + 1);
                break;
            default: break;
        }
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), moved, static_cast<std::uint8_t*>(buffer));
        at_ += moved;
        return static_cast<std::int64_t>(moved);
    }
    // The bytes handed over so far.
    const std::uint8_t* given() const { return bytes_.data(); }
    std::size_t givenCount() const { return at_; }
    void skip(std::size_t count) { at_ = std::min(count, bytes_.size()); }

private:
    ByteReader& input_;
    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

class ClapSource {
public:
    explicit ClapSource(ScriptedBytes& bytes) : stream_{&bytes, &read} {}
    const clap::InputStream* stream() const { return &stream_; }

private:
    static std::int64_t SLICECAST_CLAP_CALL read(const clap::InputStream* stream, void* buffer, std::uint64_t size) {
        return static_cast<ScriptedBytes*>(stream->ctx)->read(buffer, size);
    }
    clap::InputStream stream_;
};

class Vst3Source final : public vst3host::HostObject<Vst3Source, vst3::IBStream> {
public:
    explicit Vst3Source(ScriptedBytes& bytes) : bytes_(bytes) {}
    vst3::tresult SLICECAST_VST3_CALL read(void* buffer, vst3::int32 asked, vst3::int32* moved) override {
        const std::int64_t count = asked < 0 ? -1 : bytes_.read(buffer, static_cast<std::uint64_t>(asked));
        if (count < 0) return vst3::kResultFalse;
        if (moved != nullptr) *moved = static_cast<vst3::int32>(count);
        return vst3::kResultOk;
    }
    vst3::tresult SLICECAST_VST3_CALL write(void*, vst3::int32, vst3::int32*) override { return vst3::kResultFalse; }
    vst3::tresult SLICECAST_VST3_CALL seek(vst3::int64, vst3::int32, vst3::int64*) override {
        return vst3::kResultFalse;
    }
    vst3::tresult SLICECAST_VST3_CALL tell(vst3::int64*) override { return vst3::kResultFalse; }

private:
    ScriptedBytes& bytes_;
};

// The values a loaded state should hold, or none where the plug-in was not
// handed a whole state.
std::optional<Values> handedValues(const ScriptedBytes& bytes, std::size_t from) {
    if (bytes.givenCount() < from + kStateBytes) return std::nullopt;
    return valuesOf(bytes.given() + from);
}

Values clapValues(const ClapPlugin& plugin) {
    Values values{};
    for (clap::Id id = 0; id < kValueCount; ++id) values[id] = plugin.value(id);
    return values;
}

// The processor's saved state: its values, then the program chosen last.
std::vector<std::uint8_t> processorState(vst3::IComponent& component) {
    auto stream = vst3host::makeHostObject<vst3host::MemoryStream>();
    require(component.getState(stream.get()) == vst3::kResultOk, "getState");
    require(stream->bytes().size() == kStateBytes + 4, "a saved state of another size");
    return stream->bytes();
}

Values processorValues(vst3::IComponent& component) { return valuesOf(processorState(component).data()); }

// The controller's normalized values.
Values controllerValues(vst3::IEditController& controller) {
    Values values{};
    for (vst3::ParamID id = 0; id < kValueCount; ++id) values[id] = controller.getParamNormalized(id);
    return values;
}

// Plain values as the controller's normalized ones, by its own rule.
Values normalizedOf(vst3::IEditController& controller, const std::optional<Values>& plain) {
    if (!plain) return {};
    Values values{};
    for (vst3::ParamID id = 0; id < kValueCount; ++id) values[id] = controller.plainParamToNormalized(id, (*plain)[id]);
    return values;
}

void requireLoaded(bool loaded, const Values& before, const Values& after, const std::optional<Values>& handed) {
    if (!loaded) return require(after == before, "a refused state changed a value");
    require(handed.has_value(), "a state loaded from less than a whole one");
    require(after == *handed, "a loaded state holds other values than its bytes");
}

void loadIntoClap(ByteReader& input, std::vector<std::uint8_t> payload) {
    claphost::HostObject host;
    ClapPlugin plugin(host);
    const Values before = clapValues(plugin);
    ScriptedBytes bytes(input, std::move(payload));
    ClapSource source(bytes);
    const bool loaded = plugin.state->load(plugin.plugin, source.stream());
    requireLoaded(loaded, before, clapValues(plugin), handedValues(bytes, 0));
    plugin.requireValuesInRange();

    // Saved and loaded into another instance, the values come back.
    claphost::ByteSink saved(input.integer<std::uint64_t>(1, 64));
    require(plugin.state->save(plugin.plugin, saved.stream()), "state.save");
    ClapPlugin other(host);
    claphost::ByteSource again(saved.bytes(), input.integer<std::uint64_t>(1, 64));
    require(other.state->load(other.plugin, again.stream()), "a saved state refused");
    require(clapValues(other) == clapValues(plugin), "a saved state loads other values");
}

void loadIntoVst3(ByteReader& input, std::vector<std::uint8_t> payload, bool intoController) {
    Vst3Plugin plugin;
    const std::size_t from = input.choice(8) == 0 ? input.integer<std::size_t>(0, 16) : 0;
    ScriptedBytes bytes(input, std::move(payload));
    bytes.skip(from);
    auto source = vst3host::makeHostObject<Vst3Source>(bytes);
    if (intoController) {
        const Values before = controllerValues(*plugin.controller);
        const bool loaded = plugin.controller->setComponentState(source.get()) == vst3::kResultOk;
        const std::optional<Values> handed = handedValues(bytes, from);
        const Values after = controllerValues(*plugin.controller);
        requireLoaded(loaded, before, after, handed ? std::optional(normalizedOf(*plugin.controller, handed)) : handed);
        return;
    }
    const std::vector<std::uint8_t> before = processorState(*plugin.component);
    const bool loaded = plugin.component->setState(source.get()) == vst3::kResultOk;
    const std::vector<std::uint8_t> after = processorState(*plugin.component);
    requireLoaded(loaded, valuesOf(before.data()), valuesOf(after.data()), handedValues(bytes, from));
    // The program comes back as the state named it (none: the first).
    const auto program = [](const std::uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | at[3] << 24; };
    const std::uint8_t none[4] = {};
    const std::uint8_t* named = before.data() + kStateBytes;
    if (loaded) named = bytes.given()[from + 4] == 2 ? bytes.given() + from + kStateBytes : none;
    require(program(after.data() + kStateBytes) == program(named), "the program chosen is not the one saved");

    // The processor's saved state gives the controller the same values.
    auto saved = vst3host::makeHostObject<vst3host::MemoryStream>();
    require(plugin.component->getState(saved.get()) == vst3::kResultOk, "getState");
    auto again = vst3host::makeHostObject<vst3host::MemoryStream>(saved->bytes(), input.integer<vst3::int32>(1, 64));
    require(plugin.controller->setComponentState(again.get()) == vst3::kResultOk, "a saved state refused");
    const Values processor = processorValues(*plugin.component);
    require(controllerValues(*plugin.controller) == normalizedOf(*plugin.controller, processor),
            "the controller holds other values than the processor");
}

}  // namespace
}  // namespace slicecastfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slicecastfuzz::ByteReader input(data, size);
    const std::size_t door = input.choice(3);
    std::vector<std::uint8_t> payload = slicecastfuzz::payloadFrom(input);
    if (door == 0) slicecastfuzz::loadIntoClap(input, std::move(payload));
    else slicecastfuzz::loadIntoVst3(input, std::move(payload), door == 2);
    return 0;
}
