#include "saved_state_cases.h"

#include <cmath>
#include <cstring>
#include <random>

namespace testsupport {

namespace {

constexpr std::size_t kHeaderBytes = 12;

void putDouble(StateBytes& bytes, std::size_t at, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < 8; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(bits >> (8 * i));
}

StateBytes changed(StateBytes bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

StateBytes withValue(StateBytes bytes, std::size_t index, double value) {
    putDouble(bytes, kHeaderBytes + 8 * index, value);
    return bytes;
}

StateBytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    StateBytes bytes(size);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

}  // namespace

StateBytes savedStateOf(const std::array<double, 6>& plain) {
    StateBytes bytes{'S', 'L', 'C', 'S', 1, 0, 0, 0, 6, 0, 0, 0};
    bytes.resize(kHeaderBytes + 8 * plain.size());
    for (std::size_t index = 0; index < plain.size(); ++index) putDouble(bytes, kHeaderBytes + 8 * index, plain[index]);
    return bytes;
}

StateBytes savedStateOf(const std::array<double, 6>& plain, std::uint32_t program) {
    StateBytes bytes = savedStateOf(plain);
    bytes.at(4) = 2;
    for (std::size_t i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(program >> (8 * i)));
    return bytes;
}

std::vector<RefusedState> refusedStates(const StateBytes& good) {
    StateBytes longer = good;
    longer.push_back(0);
    std::vector<RefusedState> refused{
        {"empty", {}},
        {"the header only", StateBytes(good.begin(), good.begin() + kHeaderBytes)},
        {"one byte short", StateBytes(good.begin(), good.end() - 1)},
        {"one byte more", longer},
        {"another magic", changed(good, 0, 's')},
        {"a newer version", changed(good, 4, 3)},
        {"version 0", changed(good, 4, 0)},
        {"seven values", changed(good, 8, 7)},
        {"a step beyond the table", withValue(good, 0, 12.0)},
        {"a step between steps", withValue(good, 1, 2.5)},
        {"a negative step", withValue(good, 1, -1.0)},
        {"a percentage above 100", withValue(good, 2, 100.5)},
        {"a negative percentage", withValue(good, 5, -0.1)},
        {"a NaN", withValue(good, 3, std::nan(""))},
        {"an infinity", withValue(good, 4, HUGE_VAL)},
        {"random bytes", randomBytes(good.size(), 1)},
        {"a megabyte of random bytes", randomBytes(1 << 20, 2)},
    };
    const std::size_t programAt = kHeaderBytes + 8 * 6;
    if (good.size() == programAt + 4) {
        refused.push_back({"a program beyond the list", changed(good, programAt, 14)});
        refused.push_back({"a negative program", changed(good, programAt + 3, 0x80)});
        refused.push_back({"the other version's length", changed(good, 4, 1)});
    } else {
        refused.push_back({"the other version's length", changed(good, 4, 2)});
    }
    return refused;
}

}  // namespace testsupport
