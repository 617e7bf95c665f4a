#include "output_format.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <optional>
#include <utility>

#include "commands/usage_error.h"

namespace slicecastcli {

namespace {

constexpr const char* kSameAsInput = "same";

constexpr std::array<std::pair<const char*, int>, 7> kEncodings{{
    {"pcm16", SF_FORMAT_PCM_16},
    {"pcm24", SF_FORMAT_PCM_24},
    {"pcm32", SF_FORMAT_PCM_32},
    {"float", SF_FORMAT_FLOAT},
    {"double", SF_FORMAT_DOUBLE},
    {"vorbis", SF_FORMAT_VORBIS},
    {"opus", SF_FORMAT_OPUS},
}};

// Best first, for when no encoding is asked for. Float comes before double
// because the effect's samples are 32-bit floats: double adds nothing.
constexpr std::array<int, 4> kPreferredEncodings{SF_FORMAT_FLOAT, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16,
                                                 SF_FORMAT_VORBIS};

// Names people use for a container that libsndfile's table lists under
// another extension.
constexpr std::array<std::pair<const char*, const char*>, 2> kExtensionAliases{{
    {"aif", "aiff"},
    {"ogg", "oga"},
}};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int formatCount(int command) {
    int count = 0;
    sf_command(nullptr, command, &count, sizeof(count));
    return count;
}

SF_FORMAT_INFO formatEntry(int command, int index) {
    SF_FORMAT_INFO entry{};
    entry.format = index;
    sf_command(nullptr, command, &entry, sizeof(entry));
    return entry;
}

// The first container libsndfile lists under the extension (its table
// lists Microsoft's WAV before the other formats that use .wav).
std::optional<SF_FORMAT_INFO> containerFor(const std::string& extension) {
    std::string listed = extension;
    for (const auto& [alias, name] : kExtensionAliases) {
        if (extension == alias) listed = name;
    }
    const int count = formatCount(SFC_GET_FORMAT_MAJOR_COUNT);
    for (int index = 0; index < count; ++index) {
        const SF_FORMAT_INFO entry = formatEntry(SFC_GET_FORMAT_MAJOR, index);
        if (entry.extension != nullptr && listed == entry.extension) return entry;
    }
    return std::nullopt;
}

bool holds(int format, int channels, int sampleRate) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    return sf_format_check(&info) == SF_TRUE;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
    return text;
}

std::string encodingName(int subtype) {
    for (const auto& [name, code] : kEncodings) {
        if (code == subtype) return name;
    }
    const int count = formatCount(SFC_GET_FORMAT_SUBTYPE_COUNT);
    for (int index = 0; index < count; ++index) {
        const SF_FORMAT_INFO entry = formatEntry(SFC_GET_FORMAT_SUBTYPE, index);
        if (entry.format == subtype) return entry.name;
    }
    return "unknown";
}

int namedEncoding(const std::string& name, int inputFormat) {
    if (name == kSameAsInput) return inputFormat & SF_FORMAT_SUBMASK;
    for (const auto& [known, code] : kEncodings) {
        if (name == known) return code;
    }
    throw UsageError("unknown encoding '" + name + "'; known: " + joined(encodingNames()));
}

int bestEncoding(int container, int channels, int sampleRate) {
    for (int subtype : kPreferredEncodings) {
        if (holds(container | subtype, channels, sampleRate)) return subtype;
    }
    const int count = formatCount(SFC_GET_FORMAT_SUBTYPE_COUNT);
    for (int index = 0; index < count; ++index) {
        const int subtype = formatEntry(SFC_GET_FORMAT_SUBTYPE, index).format;
        if (holds(container | subtype, channels, sampleRate)) return subtype;
    }
    return 0;
}

std::vector<std::string> encodingsHeld(int container, int channels, int sampleRate) {
    std::vector<std::string> names;
    for (const auto& [name, code] : kEncodings) {
        if (holds(container | code, channels, sampleRate)) names.emplace_back(name);
    }
    return names;
}

}  // namespace

const std::vector<std::string>& encodingNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& [name, code] : kEncodings) all.emplace_back(name);
        all.emplace_back(kSameAsInput);
        return all;
    }();
    return names;
}

std::vector<std::string> knownExtensions() {
    std::vector<std::string> extensions;
    const int count = formatCount(SFC_GET_FORMAT_MAJOR_COUNT);
    for (int index = 0; index < count; ++index) {
        const SF_FORMAT_INFO entry = formatEntry(SFC_GET_FORMAT_MAJOR, index);
        if (entry.extension != nullptr) extensions.emplace_back(entry.extension);
    }
    for (const auto& [alias, name] : kExtensionAliases) extensions.emplace_back(alias);
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

std::string extensionOf(const std::string& path) {
    const std::string extension = std::filesystem::path(path).extension().string();
    return extension.empty() ? extension : lowerCase(extension.substr(1));
}

int outputFormatFor(const std::string& path, const std::string& encoding, int inputFormat, int channels,
                    int sampleRate) {
    const std::string extension = extensionOf(path);
    const std::optional<SF_FORMAT_INFO> container = containerFor(extension);
    if (!container) {
        const std::string named = extension.empty() ? "" : " '." + extension + "'";
        throw UsageError("cannot tell the format of " + path + " from its extension" + named +
                         "; known: " + joined(knownExtensions()));
    }
    const int major = container->format;
    const int subtype =
        encoding.empty() ? bestEncoding(major, channels, sampleRate) : namedEncoding(encoding, inputFormat);
    if (subtype == 0 || !holds(major | subtype, channels, sampleRate)) {
        const std::vector<std::string> held = encodingsHeld(major, channels, sampleRate);
        const std::string asked = subtype == 0 ? "sound" : encodingName(subtype);
        const std::string possible = held.empty() ? "none of " + joined(encodingNames()) : joined(held);
        throw UsageError("cannot write " + path + " as " + asked + ": " + container->name + " holds " + possible +
                         " with " + std::to_string(channels) + " channels at " + std::to_string(sampleRate) + " Hz");
    }
    return major | subtype;
}

}  // namespace slicecastcli
