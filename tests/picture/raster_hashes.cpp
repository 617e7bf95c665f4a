// Writes the hash of every picture of the raster's fixed set into
// DIRECTORY/hashes.txt, one "name hash" line each, where the native build's
// tests compare them with its own.
//   raster_hashes DIRECTORY
#include <filesystem>
#include <fstream>
#include <iostream>

#include "raster_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: raster_hashes DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path directory(argv[1]);
    std::filesystem::create_directories(directory);
    std::ofstream out(directory / "hashes.txt", std::ios::binary | std::ios::trunc);
    for (const rastertest::RasterPicture& picture : rastertest::rasterPictures()) {
        out << picture.name << ' ' << rastertest::pixelHash(picture.canvas) << '\n';
    }
    out.close();
    if (!out) {
        std::cerr << "cannot write " << (directory / "hashes.txt").string() << '\n';
        return 1;
    }
    return 0;
}
