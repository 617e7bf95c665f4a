#include "package_contents.h"

#include <algorithm>
#include <stdexcept>

#include "factory_presets.h"
#include "tool_process.h"

namespace packagingtest {

namespace fs = std::filesystem;

std::vector<std::string> filesUnder(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) files.push_back(entry.path().lexically_relative(root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> lv2BundleFiles(const std::string& folder, const std::string& binaryName) {
    const std::string bundle = folder + "/slicecast.lv2/";
    return {bundle + "manifest.ttl", bundle + "presets.ttl", bundle + binaryName, bundle + "slicecast.ttl"};
}

std::vector<std::string> vst3BundleFiles(const std::string& folder, const std::vector<std::string>& binaries) {
    const std::string bundle = folder + "/Slicecast.vst3/";
    std::vector<std::string> files{bundle + "Contents/Resources/moduleinfo.json"};
    for (const std::string& binary : binaries) files.push_back(bundle + binary);
    return files;
}

std::vector<std::string> vst3PresetFiles(const std::string& root) {
    std::vector<std::string> files;
    for (const slicecast::FactoryPreset& preset : slicecast::factoryPresets)
        files.push_back(root + "/J'x Tiv-nar/J'x Slicecast/" + preset.name + ".vstpreset");
    return files;
}

std::vector<std::string> installedFiles(const EditionPlaces& places) {
    std::vector<std::string> files{
        "usr/bin/slicecast",
        "usr/share/doc/slicecast/changelog.gz",
        "usr/share/doc/slicecast/copyright",
        "usr/share/man/man1/slicecast.1.gz",
        places.vst2Plugin,
        places.clapPlugin,
    };
    for (const std::string& file : lv2BundleFiles(places.lv2Folder, "slicecast.so")) files.push_back(file);
    for (const std::string& file : vst3BundleFiles(places.vst3Folder, {places.vst3Binary})) files.push_back(file);
    for (const std::string& file : vst3PresetFiles(places.vst3PresetRoot)) files.push_back(file);
    std::sort(files.begin(), files.end());
    return files;
}

std::string checkedOutput(const fs::path& program, const std::vector<std::string>& args,
                          const fs::path& workingFolder) {
    const tooltest::ToolRun run = tooltest::runProgram(program, args, workingFolder);
    if (run.status != 0) {
        throw std::runtime_error(program.filename().string() + " failed (status " + std::to_string(run.status) +
                                 "): " + run.err + run.out);
    }
    return run.out;
}

std::string controlField(const fs::path& deb, const std::string& name) {
    const std::string value = checkedOutput(DPKG_DEB_PATH, {"--field", deb.string(), name});
    const auto first = value.find_first_not_of(" \n");
    const auto last = value.find_last_not_of(" \n");
    return first == std::string::npos ? "" : value.substr(first, last - first + 1);
}

void unpackDeb(const fs::path& deb, const fs::path& folder) {
    checkedOutput(DPKG_DEB_PATH, {"--extract", deb.string(), folder.string()});
}

void unpackZip(const fs::path& zip, const fs::path& folder) {
    checkedOutput(CMAKE_COMMAND_PATH, {"-E", "tar", "xf", fs::absolute(zip).string()}, folder);
}

fs::path onlyPackageIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) found.push_back(entry.path());
    }
    if (found.size() != 1) {
        throw std::runtime_error(std::to_string(found.size()) + " files " + extension + " in " + folder.string());
    }
    return found.front();
}

}  // namespace packagingtest
