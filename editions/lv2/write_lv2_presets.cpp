// Writes the bundle's presets from the factory table at build time:
// presets.ttl, one pset:Preset per preset with its label and a plain value
// for every parameter port, and manifest.ttl, the plug-in's entry followed
// by one entry per preset, so that hosts find them without reading the
// plug-in's own file.
//
//   write_lv2_presets PLUGIN-URI MANIFEST-TEMPLATE BUNDLE-FOLDER
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "factory_presets.h"

namespace {

// The parameter ports' symbols in parameter order, as slicecast.ttl names
// them.
constexpr std::array<const char*, 6> kPortSymbols{"wave_length", "update_period", "rate",
                                                  "fade_out",    "decay_rate",    "mix"};

std::string presetUri(const std::string& pluginUri, const slicecast::FactoryPreset& preset) {
    return "<" + pluginUri + "#preset-" + preset.key + ">";
}

// The shortest text that reads back as value, always a Turtle decimal.
std::string decimal(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string written(text, end);
    if (written.find_first_of(".e") == std::string::npos) written += ".0";
    return written;
}

const char* kPrefixes =
    "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n";

std::string presetsFile(const std::string& pluginUri) {
    std::ostringstream out;
    out << kPrefixes;
    for (const slicecast::FactoryPreset& preset : slicecast::factoryPresets) {
        out << "\n" << presetUri(pluginUri, preset) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo <" << pluginUri << "> ;\n"
            << "    rdfs:label \"" << preset.name << "\" ;\n"
            << "    lv2:port ";
        for (std::size_t port = 0; port < kPortSymbols.size(); ++port) {
            out << (port == 0 ? "[\n" : " , [\n") << "        lv2:symbol \"" << kPortSymbols[port] << "\" ;\n"
                << "        pset:value " << decimal(preset.plain[port]) << "\n    ]";
        }
        out << " .\n";
    }
    return out.str();
}

std::string manifestEntries(const std::string& pluginUri) {
    std::ostringstream out;
    out << "\n@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n";
    for (const slicecast::FactoryPreset& preset : slicecast::factoryPresets) {
        out << "\n" << presetUri(pluginUri, preset) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo <" << pluginUri << "> ;\n"
            << "    rdfs:seeAlso <presets.ttl> .\n";
    }
    return out.str();
}

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: write_lv2_presets PLUGIN-URI MANIFEST-TEMPLATE BUNDLE-FOLDER\n";
        return 2;
    }
    const std::string uri = argv[1];
    std::ifstream templateFile(argv[2], std::ios::binary);
    std::ostringstream manifest;
    manifest << templateFile.rdbuf();
    const std::string folder = argv[3];
    if (!templateFile || !write(folder + "/presets.ttl", presetsFile(uri)) ||
        !write(folder + "/manifest.ttl", manifest.str() + manifestEntries(uri))) {
        std::cerr << "write_lv2_presets: cannot write the presets into " << folder << "\n";
        return 1;
    }
    return 0;
}
