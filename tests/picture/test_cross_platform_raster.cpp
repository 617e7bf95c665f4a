// The raster's pictures as every platform drew them (raster_hashes, run on
// its target by each cross build's tests) against the native build's own,
// picture by picture. A platform whose hashes are missing is skipped, unless
// SLICECAST_REQUIRE_CROSS_RENDERS is set, as the cross-platform CI stage
// does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "raster_pictures.h"

namespace {

// name -> hash, as raster_hashes writes them.
std::map<std::string, std::string> readHashes(const std::filesystem::path& file) {
    std::map<std::string, std::string> hashes;
    std::ifstream in(file);
    for (std::string name, hash; in >> name >> hash;) hashes[name] = hash;
    return hashes;
}

TEST(CrossPlatformRaster, EveryPlatformDrawsTheNativePixels) {
    std::map<std::string, std::string> native;
    for (const rastertest::RasterPicture& picture : rastertest::rasterPictures()) {
        native[picture.name] = rastertest::pixelHash(picture.canvas);
    }
    const bool required = std::getenv("SLICECAST_REQUIRE_CROSS_RENDERS") != nullptr;
    int compared = 0;
    std::stringstream list(SLICECAST_CROSS_RASTER_DIRS);
    for (std::string entry; std::getline(list, entry, '|');) {
        const auto equals = entry.find('=');
        const std::string platform = entry.substr(0, equals);
        const std::filesystem::path file = std::filesystem::path(entry.substr(equals + 1)) / "hashes.txt";
        if (!std::filesystem::exists(file)) {
            if (required) ADD_FAILURE() << platform << ": no hashes in " << file;
            continue;
        }
        EXPECT_EQ(readHashes(file), native) << platform << " (" << file << ")";
        ++compared;
    }
    if (compared == 0 && !required) GTEST_SKIP() << "no cross-platform hashes (build and test a cross preset first)";
}

}  // namespace
