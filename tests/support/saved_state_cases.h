// The saved state every edition with plain values writes (CLAP, VST 3),
// written out by hand from its format, and what is not a whole state of this
// effect: each edition must refuse every one of those, changing nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using StateBytes = std::vector<std::uint8_t>;

// "SLCS", version 1, the count 6, then the six plain values as the bits of
// doubles, all little-endian.
StateBytes savedStateOf(const std::array<double, 6>& plain);
// The same as version 2, then the index of the program chosen last
// (VST 3's state).
StateBytes savedStateOf(const std::array<double, 6>& plain, std::uint32_t program);

struct RefusedState {
    std::string name;
    StateBytes bytes;
};

// Made from good, a whole state of this effect: too short, too long,
// foreign, newer, or holding values no parameter takes (or, for a state
// with a program, a program the list does not have).
std::vector<RefusedState> refusedStates(const StateBytes& good);

}  // namespace testsupport
