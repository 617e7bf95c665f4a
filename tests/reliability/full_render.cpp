// A full render as a host does one, for memory checkers to watch: the
// library loaded, instances opened with every preset, half a minute of
// audio each with tempo changes, a seek and a loop, then everything closed.
// Prints a checksum so the work cannot be optimised away.
#include <cmath>
#include <cstdio>

#include "reliability_support.h"
#include "slicecast_plugin.h"

int main() {
    double checksum = 0.0;
    for (const auto& preset : reliability::presets()) {
        vsthost::Host host;
        host.transport = vsthost::Transport(48000.0, 126.0, -4.0);
        auto instance = reliability::openInstance(host, 48000.0f, preset, 1024);
        const auto input = testsupport::noise(30 * 48000, 5);
        vsthost::StereoBuffer output;
        vsthost::renderInBlocks(*instance, host.transport, input, output, vsthost::fixedBlocks(1024),
                                [&](std::int64_t frame) {
                                    if (frame == 480 * 1024) host.transport.setTempo(93.0);
                                    if (frame == 900 * 1024) host.transport.locate(2.0);
                                    if (frame == 1200 * 1024) host.transport.locate(std::fmod(host.transport.position(), 8.0));
                                });
        for (std::size_t i = 0; i < output.frames(); ++i) checksum += output.left[i] - output.right[i];
    }
    std::printf("checksum %.9g\n", checksum);
    return std::isfinite(checksum) ? 0 : 1;
}
