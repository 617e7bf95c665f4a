#include "batch_plan.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "sound_files/output_format.h"
#include "usage_error.h"

namespace slicecastcli {

namespace fs = std::filesystem;

namespace {

// The files directly in folder that libsndfile's table names, sorted;
// hidden ones (such as another run's temporary files) left out.
std::vector<fs::path> soundFilesIn(const fs::path& folder) {
    const std::vector<std::string> known = knownExtensions();
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = extensionOf(name);
        if (name.front() == '.' || !entry.is_regular_file()) continue;
        if (std::find(known.begin(), known.end(), extension) != known.end()) files.push_back(entry.path());
    }
    if (error) throw UsageError("cannot list the folder " + folder.string() + ": " + error.message());
    if (files.empty()) throw UsageError("the folder " + folder.string() + " holds no sound file");
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> expandInputs(const std::vector<std::string>& inputs) {
    std::vector<fs::path> files;
    for (const std::string& input : inputs) {
        if (fs::is_directory(input)) {
            const std::vector<fs::path> inFolder = soundFilesIn(input);
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else if (fs::exists(input)) {
            files.emplace_back(input);
        } else {
            throw UsageError("no such file or folder: " + input);
        }
    }
    return files;
}

std::string withDot(const std::string& extension) {
    return extension.empty() || extension.front() == '.' ? extension : "." + extension;
}

// A stand-in for the input's channels and rate, which are not read yet:
// the render checks the format again with the real ones.
constexpr int kUsualChannels = 2;
constexpr int kUsualRate = 48000;
constexpr int kInputFormatUnknown = 0;

}  // namespace

std::vector<BatchFile> planBatch(const std::vector<std::string>& inputs, const std::string& outputFolder,
                                 const std::string& extension, const std::string& encoding) {
    // An extension naming a folder would put outputs outside the output
    // folder, or fail only once others are written.
    if (extension.find_first_of("/\\") != std::string::npos) {
        throw UsageError("--ext names an extension, not a folder: '" + extension + "'");
    }
    std::vector<BatchFile> plan;
    std::map<fs::path, std::string> writers;
    for (const fs::path& input : expandInputs(inputs)) {
        const std::string suffix = extension.empty() ? input.extension().string() : withDot(extension);
        const fs::path output = fs::path(outputFolder) / (input.stem().string() + suffix);
        // "same" depends on the input, which the render checks when it opens it.
        const std::string checked = encoding == "same" ? std::string() : encoding;
        outputFormatFor(output.string(), checked, kInputFormatUnknown, kUsualChannels, kUsualRate);
        const fs::path key = fs::weakly_canonical(output);
        if (key == fs::weakly_canonical(input)) {
            throw UsageError(input.string() +
                             " would be replaced by its own output; choose another --out-dir or --ext");
        }
        const auto [earlier, fresh] = writers.emplace(key, input.string());
        if (!fresh) {
            throw UsageError(earlier->second + " and " + input.string() + " would both be written to " +
                             output.string());
        }
        plan.push_back({input.string(), output.string()});
    }
    return plan;
}

}  // namespace slicecastcli
