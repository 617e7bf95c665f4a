#include "daw_transport_cases.h"

#include "vst_abi.h"

namespace tooltest {

namespace {

constexpr int kRate = kDawRate;
constexpr double kQuarter = kDawQuarter;
constexpr std::int32_t kRolling = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
constexpr std::int32_t kStopped = kVstPpqPosValid | kVstTempoValid;
constexpr std::int64_t kCountIn = -1;

// A row rolling at tempo 120 with no parameters set.
BlockRow at(std::int32_t frames, double position, std::int64_t input, std::int64_t output,
            std::string parameters = "") {
    return {frames, position, 120.0, kRolling, kRate, std::move(parameters), input, output};
}

BlockRow withTempo(BlockRow row, double tempo) {
    row.tempo = tempo;
    return row;
}

BlockRow countIn(std::int32_t frames, double position, std::string parameters = "") {
    return {frames, position, 120.0, kStopped, kRate, std::move(parameters), kCountIn, kCountIn};
}

}  // namespace

void PrintTo(const TransportCase& test, std::ostream* out) { *out << test.name; }

const std::vector<TransportCase>& dawTransportCases() {
    static const std::vector<TransportCase> cases{
        // Changes take effect at the first block starting at or after them:
        // 1.1 at the block starting at 1.25, 2.5 at the one at 2.75.
        TransportCase{
            "TempoMap",
            10240,
            {"--tempo", "120,1.1:240,2.5:60", "--block", "1024"},
            {at(1024, 0.0, 0, 0), at(1024, 0.25, 1024, 1024), at(1024, 0.5, 2048, 2048), at(1024, 0.75, 3072, 3072),
             at(1024, 1.0, 4096, 4096), withTempo(at(1024, 1.25, 5120, 5120), 240.0),
             withTempo(at(1024, 1.75, 6144, 6144), 240.0), withTempo(at(1024, 2.25, 7168, 7168), 240.0),
             withTempo(at(1024, 2.75, 8192, 8192), 60.0), withTempo(at(1024, 2.875, 9216, 9216), 60.0)}},
        // The block reaching 2 is cut there; its rest plays from 1, and
        // the input from the frame at 1.
        TransportCase{"LoopCutsTheBlockAtItsEnd",
                      10000,
                      {"--block", "3000", "--loop", "1:2"},
                      {at(3000, 0.0, 0, 0), at(3000, 3000 / kQuarter, 3000, 3000),
                       at(2192, 6000 / kQuarter, 6000, 6000), at(808, 1.0, 4096, 8192),
                       at(3000, 1.0 + 808 / kQuarter, 4904, 9000), at(2096, 1.0 + 3808 / kQuarter, 7904, 12000)}},
        TransportCase{"LoopEndOnABlockBoundary",
                      12288,
                      {"--block", "4096", "--loop", "1:2", "--loop-count", "2"},
                      {at(4096, 0.0, 0, 0), at(4096, 1.0, 4096, 4096), at(4096, 1.0, 4096, 8192),
                       at(4096, 1.0, 4096, 12288), at(4096, 2.0, 8192, 16384)}},
        TransportCase{"LoopStartingWithTheRender",
                      6000,
                      {"--block", "2500", "--start", "3", "--loop", "3:4"},
                      {at(2500, 3.0, 0, 0), at(1596, 3.0 + 2500 / kQuarter, 2500, 2500), at(904, 3.0, 0, 4096),
                       at(2500, 3.0 + 904 / kQuarter, 904, 5000), at(2500, 3.0 + 3404 / kQuarter, 3404, 7500),
                       at(96, 3.0 + 5904 / kQuarter, 5904, 10000)}},
        TransportCase{"CountIn",
                      5000,
                      {"--block", "2048", "--count-in", "2", "--start", "3"},
                      {countIn(2048, 3.0), countIn(2048, 3.0), at(2048, 3.0, 0, 0), at(2048, 3.5, 2048, 2048),
                       at(904, 4.0, 4096, 4096)}},
        // Settings go first, then the automation's values at each block's
        // start: Level in a straight line, Steps (a stepped parameter)
        // holding each point's value until the next.
        TransportCase{
            "Automation",
            6 * 4096,
            {"--block", "4096", "--set", "Steps=0.75", "--automate", "Level=0:0,4:1", "--automate", "Steps=1:0.25,3:1"},
            {at(4096, 0.0, 0, 0, "1=0.75 0=0 1=0.25"), at(4096, 1.0, 4096, 4096, "0=0.25"),
             at(4096, 2.0, 8192, 8192, "0=0.5"), at(4096, 3.0, 12288, 12288, "0=0.75 1=1"),
             at(4096, 4.0, 16384, 16384, "0=1"), at(4096, 5.0, 20480, 20480)},
            true},
        // Count-in blocks get the values at the start; after a jump the
        // values at the loop's start come back.
        TransportCase{"AutomationThroughCountInAndLoop",
                      3 * 4096,
                      {"--block", "4096", "--count-in", "1", "--loop", "1:2", "--automate", "Level=0:0,2:1"},
                      {countIn(4096, 0.0, "0=0"), at(4096, 0.0, 0, 0), at(4096, 1.0, 4096, 4096, "0=0.5"),
                       at(4096, 1.0, 4096, 8192), at(4096, 2.0, 8192, 12288, "0=1")},
                      true}};
    return cases;
}

}  // namespace tooltest
