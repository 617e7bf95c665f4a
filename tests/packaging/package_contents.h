// Looking into what an install or a package holds, with the build
// machine's own tools.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace packagingtest {

// Every file (not folder) under root, as a path relative to root with '/'
// between the parts, sorted.
std::vector<std::string> filesUnder(const std::filesystem::path& root);

// Where each edition lies in an install or a Debian package, relative to
// its root: the VST 2.4 plug-in, the folder holding the LV2 bundle, the
// CLAP edition, the folder holding the VST 3 bundle, the VST 3 binary's
// path inside the bundle (Contents/x86_64-linux/Slicecast.so), and the VST 3
// preset folder.
struct EditionPlaces {
    std::string vst2Plugin;
    std::string lv2Folder;
    std::string clapPlugin;
    std::string vst3Folder;
    std::string vst3Binary;
    std::string vst3PresetRoot;
};

// What an install or a Debian package holds, relative to its root, sorted:
// the tool, the documents and each edition in its place. Each once only: a
// second copy in another plug-in folder makes hosts that scan both list the
// effect twice.
std::vector<std::string> installedFiles(const EditionPlaces& places);

// The files of the LV2 bundle in folder: its .ttl files and binaryName.
std::vector<std::string> lv2BundleFiles(const std::string& folder, const std::string& binaryName);

// The files of the VST 3 bundle in folder: each binary (a path inside the
// bundle) and the class list.
std::vector<std::string> vst3BundleFiles(const std::string& folder, const std::vector<std::string>& binaries);

// The factory presets' files in a VST 3 preset folder, under the vendor's
// and the plug-in's names.
std::vector<std::string> vst3PresetFiles(const std::string& root);

// Runs program with args to its end and gives what it printed; throws,
// with what it said on standard error, when it fails.
std::string checkedOutput(const std::filesystem::path& program, const std::vector<std::string>& args,
                          const std::filesystem::path& workingFolder = {});

// A control field of a Debian package, blanks around it dropped.
std::string controlField(const std::filesystem::path& deb, const std::string& name);
void unpackDeb(const std::filesystem::path& deb, const std::filesystem::path& folder);
void unpackZip(const std::filesystem::path& zip, const std::filesystem::path& folder);

// The one package of a given extension in folder; throws when there is no
// such file or more than one.
std::filesystem::path onlyPackageIn(const std::filesystem::path& folder, const std::string& extension);

}  // namespace packagingtest
