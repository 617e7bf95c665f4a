// What processor a built binary is for, read from its header, so that a
// package is checked to hold the binaries its name and fields promise.
#pragma once

#include <filesystem>
#include <string>

namespace packagingtest {

// "ELF x86-64", "ELF aarch64", "PE x86-64", "PE i386"; "ELF machine N" or
// "PE machine N" for any other; "not a binary" for anything else.
std::string binaryMachine(const std::filesystem::path& file);

}  // namespace packagingtest
