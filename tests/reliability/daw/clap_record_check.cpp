// The check of the real-host CLAP stage (scripts/ci/qtractor.sh): reads what
// the two recorders around Slicecast on one track wrote (clap_recorder.cpp),
// drives the built slicecast.clap directly with the very calls the host
// made (activations, resets, every block with its frames, transport and
// input) and requires its output to equal, to the bit, what the recorder
// after the effect received. It also requires that the run was worth
// checking: enough rolling blocks with sound, and the effect audible.
//
//   clap_record_check --records DIR [--rolling-blocks N]
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "clap_instance.h"
#include "clap_record_format.h"
#include "slicecast_clap_plugin.h"

namespace {

struct Entry {
    char tag = 0;
    double rate = 0.0;
    std::uint32_t minFrames = 0;
    std::uint32_t maxFrames = 0;
    std::uint32_t frames = 0;
    bool hasTransport = false;
    clap::EventTransport transport{};
    std::uint32_t events = 0;
    std::vector<float> left, right;
};

class Reader {
public:
    explicit Reader(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) throw std::runtime_error("no record " + path);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    bool done() const { return at_ == bytes_.size(); }
    template <typename T>
    void read(T& value) {
        take(&value, sizeof value);
    }
    void take(void* data, std::size_t size) {
        if (bytes_.size() - at_ < size) throw std::runtime_error("a record ends in the middle of an entry");
        std::memcpy(data, bytes_.data() + at_, size);
        at_ += size;
    }

private:
    std::vector<char> bytes_;
    std::size_t at_ = 0;
};

std::vector<Entry> readRecord(const std::string& path) {
    Reader reader(path);
    std::vector<Entry> entries;
    while (!reader.done()) {
        Entry entry;
        reader.read(entry.tag);
        if (entry.tag == recording::kActivate) {
            reader.read(entry.rate);
            reader.read(entry.minFrames);
            reader.read(entry.maxFrames);
        } else if (entry.tag == recording::kProcess) {
            std::uint8_t hasTransport = 0;
            reader.read(entry.frames);
            reader.read(hasTransport);
            entry.hasTransport = hasTransport != 0;
            reader.read(entry.transport);
            reader.read(entry.events);
            entry.left.resize(entry.frames);
            entry.right.resize(entry.frames);
            reader.take(entry.left.data(), entry.frames * sizeof(float));
            reader.take(entry.right.data(), entry.frames * sizeof(float));
        } else if (entry.tag != recording::kReset) {
            throw std::runtime_error(path + ": unknown entry");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool silent(const Entry& block) {
    for (std::uint32_t i = 0; i < block.frames; ++i)
        if (block.left[i] != 0.0f || block.right[i] != 0.0f) return false;
    return true;
}

bool sameAudio(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

int check(const std::string& folder, int rollingWanted) {
    const std::vector<Entry> before = readRecord(folder + "/" + recording::kBeforeFile);
    const std::vector<Entry> after = readRecord(folder + "/" + recording::kAfterFile);
    if (before.size() != after.size()) {
        std::printf("the recorders saw %zu and %zu calls\n", before.size(), after.size());
        return 1;
    }
    std::uint32_t longest = 1;
    for (const Entry& entry : before) longest = std::max({longest, entry.frames, entry.maxFrames});

    const claphost::HostObject host;
    claphost::ClapInstance plugin(testsupport::slicecastClapLibrary(), host);
    int blocks = 0, rolling = 0, audible = 0, activations = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const Entry& call = before[i];
        if (after[i].tag != call.tag || after[i].frames != call.frames) {
            std::printf("call %zu differs between the recorders\n", i);
            return 1;
        }
        if (call.tag == recording::kActivate) {
            if (plugin.processing()) plugin.stopProcessing();
            if (plugin.active()) plugin.deactivate();
            if (!plugin.activate(call.rate, 1, longest) || !plugin.startProcessing()) {
                std::printf("slicecast.clap did not start at %g Hz\n", call.rate);
                return 1;
            }
            ++activations;
        } else if (call.tag == recording::kReset) {
            plugin.reset();
        } else {
            if (call.events != 0) {
                std::printf("block %d came with %u events, which the recorders do not keep\n", blocks, call.events);
                return 1;
            }
            if (!plugin.active()) {
                std::printf("a block before any activation\n");
                return 1;
            }
            std::vector<float> left(call.frames), right(call.frames);
            plugin.process({call.left.data(), call.right.data(), left.data(), right.data(), call.frames,
                            call.hasTransport ? &call.transport : nullptr, nullptr});
            if (!sameAudio(left, after[i].left) || !sameAudio(right, after[i].right)) {
                std::printf("block %d (%u frames, transport flags %u, %.9f beats): the host's effect made other "
                            "samples than slicecast.clap driven directly\n",
                            blocks, call.frames, call.hasTransport ? call.transport.flags : 0u,
                            static_cast<double>(call.transport.songPosBeats) / clap::kBeatTimeFactor);
                return 1;
            }
            const bool rolls = call.hasTransport && (call.transport.flags & clap::kTransportHasBeatsTimeline) != 0;
            if (rolls && !silent(call)) ++rolling;
            if (!sameAudio(call.left, left) || !sameAudio(call.right, right)) ++audible;
            ++blocks;
        }
    }
    std::printf("%d activations, %d blocks (%d rolling with sound, %d changed by the effect): all equal\n",
                activations, blocks, rolling, audible);
    if (rolling < rollingWanted) {
        std::printf("too few rolling blocks with sound (%d, wanted %d): the run proves little\n", rolling,
                    rollingWanted);
        return 1;
    }
    if (audible == 0) {
        std::printf("the effect changed no block: the run proves little\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Checks the CLAP stage's records against slicecast.clap driven directly");
    std::string folder;
    int rolling = 50;
    app.add_option("--records", folder, "folder with before.rec and after.rec")->required();
    app.add_option("--rolling-blocks", rolling, "rolling blocks with sound the run must have");
    CLI11_PARSE(app, argc, argv);
    try {
        return check(folder, rolling);
    } catch (const std::exception& error) {
        std::printf("clap_record_check: %s\n", error.what());
        return 1;
    }
}
