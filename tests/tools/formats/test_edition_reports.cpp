// What the tool tells of the LV2, CLAP and VST 3 editions: info lists what
// each format shows a host, and --blocks-out lists the transport as it was
// sent (time:Position events, CLAP transport records, VST 3 process
// contexts), call for call where the VST 2.4 edition's list has the same
// transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "block_list.h"
#include "clap_identity.h"
#include "transport/daw_transport_cases.h"
#include "editions.h"
#include "lv2_identity.h"
#include "report_text.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"
#include "vst3_identity.h"
#include "vst3_names.h"

namespace tooltest {
namespace {

struct InfoCase {
    Edition edition;
    std::vector<std::pair<std::string, std::string>> fields;
    std::vector<std::string> lines;
};

void PrintTo(const InfoCase& test, std::ostream* out) { *out << test.edition.name; }

class EditionInfo : public testing::TestWithParam<InfoCase> {};

TEST_P(EditionInfo, ShowsWhatTheFormatTellsAHost) {
    const InfoCase& test = GetParam();
    const ToolRun run = runTool({"info", "--plugin", test.edition.plugin});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(field(run.out, "Plug-in"), test.edition.plugin);
    for (const auto& [key, value] : test.fields) EXPECT_EQ(field(run.out, key), value) << key << " in\n" << run.out;
    for (const std::string& line : test.lines) EXPECT_TRUE(hasLine(run.out, line)) << line << " in\n" << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Editions, EditionInfo,
    testing::Values(
        InfoCase{kLv2Edition,
                 {{"URI", slicecast::kLv2PluginUri},
                  {"Name", "J'x Slicecast"},
                  {"Inputs", "2"},
                  {"Outputs", "2"},
                  {"Ports", "12"},
                  {"Port 5", "update_period \"UpdatePeriod\", control in, 0 to 4, default 3, integer, enumeration: "
                             "0 = 4/1, 1 = 2/1, 2 = 1/1, 3 = 1/2, 4 = 1/4"},
                  {"Port 6", "rate \"Rate\", control in, 0 to 100, default 70"},
                  {"Port 10", "control \"Control\", atom in"},
                  {"Port 11", "notify \"Editor feed\", atom out"},
                  {"Parameters", "6"}},
                 // Plain values, with the step's label or the number shown.
                 {"  0   WaveLength = 5 (1/8)", "  1   UpdatePeriod = 3 (1/2)", "  2   Rate = 70 (70)",
                  "  5   Mix = 100 (100)"}},
        InfoCase{kClapEdition,
                 {{"Id", slicecast::kClapPluginId},
                  {"Name", "J'x Slicecast"},
                  {"Vendor", "J'x Tiv-nar"},
                  {"Features", "audio-effect, glitch, delay, stereo"},
                  {"Audio in 0", "Stereo In, 2 channels, id 0"},
                  {"Parameter id 0", "WaveLength, 0 to 11, default 5, stepped, automatable"},
                  {"Parameter id 2", "Rate, 0 to 100, default 70, automatable"},
                  {"Parameters", "6"}},
                 {"  0   WaveLength = 5 (1/8)", "  2   Rate = 70 (70 %)"}},
        InfoCase{kVst3Edition,
                 {{"Class id", vst3host::uidText(slicecast::kVst3ProcessorClassId)},
                  {"Name", "J'x Slicecast"},
                  {"Vendor", "J'x Tiv-nar"},
                  {"Controller", "class " + vst3host::uidText(slicecast::kVst3ControllerClassId) + ", connected"},
                  {"Audio in 0", "Stereo In, main, 2 channels, stereo, active by default"},
                  {"Audio out 0", "Stereo Out, main, 2 channels, stereo, active by default"},
                  {"Event buses", "0 in, 0 out"},
                  {"Latency", "0 samples"},
                  {"Parameter id 0", "WaveLength, 0 to 11, default 5, 11 steps, automatable, list"},
                  {"Parameter id 2", "Rate, 0 to 100 %, default 70, automatable"},
                  {"Parameters", "6"}},
                 // Plain values, the units after the text.
                 {"  0   WaveLength = 5 (1/8)", "  1   UpdatePeriod = 3 (1/2)", "  2   Rate = 70 (70 %)"}}),
    [](const auto& info) { return std::string(info.param.edition.name); });

// An LV2 plug-in by its URI, found where LV2_PATH points.
TEST(EditionInfo, Lv2PluginByItsUri) {
    const std::string folder = std::filesystem::path(SLICECAST_LV2_BUNDLE_PATH).parent_path().string();
    setenv("LV2_PATH", folder.c_str(), 1);
    const ToolRun run = runTool({"info", "--plugin", slicecast::kLv2PluginUri});
    unsetenv("LV2_PATH");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(field(run.out, "Plug-in"), slicecast::kLv2PluginUri);
    EXPECT_EQ(field(run.out, "Name"), "J'x Slicecast");
}

// A block list of any format, a map of column to text per call.
std::vector<std::map<std::string, std::string>> readRows(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    const auto split = [](const std::string& text) {
        std::vector<std::string> fields;
        std::istringstream stream(text);
        for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
        if (!text.empty() && text.back() == ',') fields.emplace_back();
        return fields;
    };
    std::getline(file, line);
    const std::vector<std::string> header = split(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(file, line)) {
        const std::vector<std::string> fields = split(line);
        EXPECT_EQ(fields.size(), header.size()) << line;
        std::map<std::string, std::string>& row = rows.emplace_back();
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
    }
    return rows;
}

// The shortest text that reads back to the same bits, as the lists have it.
std::string text(double number) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof(digits), number);
    return std::string(digits, result.ptr);
}

// What each format's list says for a call, from the VST 2.4 list's row of
// the same call.
using ExpectedFields = std::map<std::string, std::string> (*)(const BlockRow& vst);

std::map<std::string, std::string> lv2Event(const BlockRow& vst) {
    if ((vst.flags & kVstPpqPosValid) == 0) {
        return {{"frame", ""}, {"speed", ""}, {"beat", ""}, {"beats_per_minute", ""}};
    }
    const bool counting = vst.outputFrame < 0;
    return {{"frame", counting ? "0" : std::to_string(vst.outputFrame)},
            {"speed", (vst.flags & kVstTransportPlaying) != 0 ? "1" : "0"},
            {"beat", text(vst.position)},
            {"bar", text(static_cast<double>(static_cast<long long>(vst.position / 4.0)))},
            {"beat_unit", "4"},
            {"beats_per_bar", "4"},
            {"beats_per_minute", text(vst.tempo)}};
}

std::map<std::string, std::string> clapTransport(const BlockRow& vst) {
    // Time signature always; beats, tempo and playing as the record has them.
    const int flags = 8 | ((vst.flags & kVstPpqPosValid) != 0 ? 2 : 0) | ((vst.flags & kVstTempoValid) != 0 ? 1 : 0) |
                      ((vst.flags & kVstTransportPlaying) != 0 ? 16 : 0);
    const auto beats = (vst.flags & kVstPpqPosValid) != 0 ? static_cast<long long>(vst.position * 2147483648.0) : 0;
    return {{"transport_flags", std::to_string(flags)}, {"song_pos_beats", std::to_string(beats)},
            {"tempo", text(vst.tempo)}};
}

std::map<std::string, std::string> vst3Context(const BlockRow& vst) {
    // Continuous samples and the time signature always; the position with
    // its bar, the tempo and playing as the record has them.
    const bool position = (vst.flags & kVstPpqPosValid) != 0;
    const bool tempo = (vst.flags & kVstTempoValid) != 0;
    const int state = (1 << 17) | (1 << 13) | (position ? (1 << 9) | (1 << 11) : 0) | (tempo ? 1 << 10 : 0) |
                      ((vst.flags & kVstTransportPlaying) != 0 ? 1 << 1 : 0);
    return {{"context_state", std::to_string(state)},
            {"project_time_music", position ? text(vst.position) : "0"},
            {"tempo", tempo ? text(vst.tempo) : "0"}};
}

struct BlockListCase {
    const char* name;
    Edition edition;
    ExpectedFields expected;
    std::vector<std::string> options;
};

void PrintTo(const BlockListCase& test, std::ostream* out) { *out << test.name; }

class EditionBlockList : public testing::TestWithParam<BlockListCase> {};

TEST_P(EditionBlockList, ListsWhatWasSent) {
    const BlockListCase& test = GetParam();
    const ScratchFolder folder;
    testsupport::writeSound(folder.file("in.wav"), testsupport::stereoSound(testsupport::noise(10000, 5), kDawRate));
    std::vector<std::string> args{"render", folder.file("in.wav"), folder.file("out.wav"), "--quiet",
                                  "--set",  "WaveLength=1/4",      "--automate",          "UpdatePeriod=0:1/1,1:1/2"};
    args.insert(args.end(), test.options.begin(), test.options.end());
    std::vector<std::string> vstArgs = args;
    vstArgs.insert(vstArgs.end(), {"--blocks-out", folder.file("vst.csv")});
    args.insert(args.end(), {"--plugin", test.edition.plugin, "--blocks-out", folder.file("edition.csv")});
    const ToolRun vstRun = runTool(vstArgs);
    ASSERT_EQ(vstRun.status, 0) << vstRun.err;
    const ToolRun run = runTool(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const std::vector<BlockRow> vst = readBlockList(folder.file("vst.csv"));
    const auto rows = readRows(folder.file("edition.csv"));
    ASSERT_EQ(rows.size(), vst.size());
    ASSERT_GT(rows.size(), 2u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].at("frames"), std::to_string(vst[i].frames)) << "call " << i;
        EXPECT_EQ(rows[i].at("input_frame"), std::to_string(vst[i].inputFrame)) << "call " << i;
        EXPECT_EQ(rows[i].at("output_frame"), std::to_string(vst[i].outputFrame)) << "call " << i;
        for (const auto& [column, value] : test.expected(vst[i])) {
            EXPECT_EQ(rows[i].at(column), value) << column << ", call " << i;
        }
    }
    // Parameters set in the same calls, in plain values: WaveLength's step 3
    // (1/4) first.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::count(rows[i].at("parameters").begin(), rows[i].at("parameters").end(), '='),
                  std::count(vst[i].parameters.begin(), vst[i].parameters.end(), '='))
            << "call " << i;
    }
    EXPECT_TRUE(rows[0].at("parameters").starts_with("0=3 1=")) << rows[0].at("parameters");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditionBlockList,
    testing::Values(
        BlockListCase{"Lv2CountInAndTempoMap", kLv2Edition, lv2Event,
                      {"--block", "1500", "--count-in", "2", "--start", "5", "--tempo", "120,6:90"}},
        BlockListCase{"Lv2NoPositionSendsNone", kLv2Edition, lv2Event, {"--block", "1500", "--no-position"}},
        BlockListCase{"ClapCountInAndLoop", kClapEdition, clapTransport,
                      {"--block", "1000", "--count-in", "2", "--loop", "1:2"}},
        BlockListCase{"ClapNoPosition", kClapEdition, clapTransport, {"--block", "1500", "--no-position"}},
        BlockListCase{"Vst3CountInAndLoop", kVst3Edition, vst3Context,
                      {"--block", "1000", "--count-in", "2", "--loop", "1:2", "--tempo", "120,1.5:93.5"}},
        BlockListCase{"Vst3NoPosition", kVst3Edition, vst3Context, {"--block", "1500", "--no-position"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tooltest
