#include "binary_machine.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace packagingtest {

namespace {

// Both formats store their fields little-endian on these platforms.
std::uint32_t littleEndian(const std::vector<unsigned char>& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

std::vector<unsigned char> leadingBytes(const std::filesystem::path& file, std::size_t count) {
    std::ifstream stream(file, std::ios::binary);
    std::vector<unsigned char> bytes(count);
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(stream.gcount()));
    return bytes;
}

std::string elfMachine(const std::vector<unsigned char>& bytes) {
    constexpr std::size_t kMachineOffset = 18;
    if (bytes.size() < kMachineOffset + 2) return "not a binary";
    switch (const std::uint32_t machine = littleEndian(bytes, kMachineOffset, 2)) {
        case 62: return "ELF x86-64";
        case 183: return "ELF aarch64";
        default: return "ELF machine " + std::to_string(machine);
    }
}

std::string peMachine(const std::vector<unsigned char>& bytes) {
    constexpr std::size_t kHeaderOffsetField = 0x3c;
    if (bytes.size() < kHeaderOffsetField + 4) return "not a binary";
    const std::size_t header = littleEndian(bytes, kHeaderOffsetField, 4);
    if (bytes.size() < header + 6 || bytes[header] != 'P' || bytes[header + 1] != 'E' || bytes[header + 2] != 0 ||
        bytes[header + 3] != 0) {
        return "not a binary";
    }
    switch (const std::uint32_t machine = littleEndian(bytes, header + 4, 2)) {
        case 0x8664: return "PE x86-64";
        case 0x14c: return "PE i386";
        default: return "PE machine " + std::to_string(machine);
    }
}

}  // namespace

std::string binaryMachine(const std::filesystem::path& file) {
    // The PE header of a mingw DLL lies within its first kilobyte.
    const std::vector<unsigned char> bytes = leadingBytes(file, 4096);
    if (bytes.size() >= 4 && bytes[0] == 0x7f && bytes[1] == 'E' && bytes[2] == 'L' && bytes[3] == 'F') {
        return elfMachine(bytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') return peMachine(bytes);
    return "not a binary";
}

}  // namespace packagingtest
