// Writes the factory presets as VST 3 preset files at build time, one
// "<name>.vstpreset" per preset of the table, into VENDOR/PLUG-IN/ inside
// the folder given: the layout of the format's preset folders, where hosts
// list such files beside the plug-in and name each after its file. The
// vendor's and the plug-in's names are the class info's, with the
// characters \*?/:<>| replaced by _, as the format asks.
//
// A file is the format's container: "VST3", version 1, the processor's class
// id as 32 upper-case hex digits (the same text on every platform), the
// offset of the chunk list; then the chunks; then the list. Its one chunk,
// "Comp", is what the processor's getState writes for the preset: its six
// values and its program. The controller has no state of its own, so there
// is no "Cont" chunk.
//
//   write_vstpresets FOLDER
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "factory_presets.h"
#include "saved_state.h"
#include "vst3_identity.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ByteVector final : public slicecast::ByteSink {
public:
    std::int64_t write(const std::uint8_t* bytes, std::size_t size) noexcept override {
        bytes_.insert(bytes_.end(), bytes, bytes + size);
        return static_cast<std::int64_t>(size);
    }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

void put(Bytes& bytes, const char (&text)[5]) { bytes.insert(bytes.end(), text, text + 4); }

void putLittleEndian(Bytes& bytes, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::string classIdText() {
    std::string text;
    for (const std::uint32_t word : slicecast::kVst3ProcessorClassWords) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(word));
        text += digits;
    }
    return text;
}

Bytes presetFile(std::size_t index) {
    constexpr std::size_t kHeaderBytes = 48;
    ByteVector component;
    slicecast::writeSavedState(component, slicecast::factoryPresets[index].plain, static_cast<std::int32_t>(index));
    Bytes file;
    put(file, "VST3");
    putLittleEndian(file, 1, 4);
    const std::string id = classIdText();
    file.insert(file.end(), id.begin(), id.end());
    putLittleEndian(file, kHeaderBytes + component.bytes().size(), 8);
    file.insert(file.end(), component.bytes().begin(), component.bytes().end());
    put(file, "List");
    putLittleEndian(file, 1, 4);
    put(file, "Comp");
    putLittleEndian(file, kHeaderBytes, 8);
    putLittleEndian(file, component.bytes().size(), 8);
    return file;
}

std::string folderName(std::string name) {
    for (char& c : name) {
        if (std::string_view("\\*?/:<>|").find(c) != std::string_view::npos) c = '_';
    }
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_vstpresets FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / folderName(slicecast::kVst3Vendor) /
                                         folderName(slicecast::kVst3ProcessorName);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (std::size_t index = 0; index < slicecast::factoryPresets.size(); ++index) {
        const std::filesystem::path path =
            folder / (std::string(slicecast::factoryPresets[index].name) + ".vstpreset");
        const Bytes bytes = presetFile(index);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::cerr << "write_vstpresets: cannot write " << path.string() << "\n";
            return 1;
        }
    }
    return 0;
}
