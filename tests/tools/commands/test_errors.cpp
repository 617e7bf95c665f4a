// Whatever goes wrong, the tool says so in one line on standard error,
// exits with a non-zero status, and leaves no output file behind: neither
// a new one nor a changed one where a file was before.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <thread>

#include "formats/editions.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

using testsupport::Sound;
using testsupport::writeSound;
using testsupport::stereoSound;
namespace {

constexpr int kRunFailed = 1;
constexpr int kBadCommandLine = 2;

struct ErrorCase {
    const char* name;
    // Words in braces stand for files of the test's folder (see files()).
    std::vector<std::string> args;
    // What standard error says, after "slicecast: error: ".
    const char* message;
    int status;
};

void PrintTo(const ErrorCase& test, std::ostream* out) { *out << test.name; }

class ToolError : public testing::TestWithParam<ErrorCase> {
protected:
    void SetUp() override {
        writeSound(folder.file("in.wav"), stereoSound(testsupport::noise(1000), 44100));
        const std::vector<float> channel = testsupport::noise(100).left;
        writeSound(folder.file("three.wav"), Sound{44100, 0, {channel, channel, channel}});
        std::ofstream(folder.file("text.txt")) << "not a sound, not a library\n";
        writeSound(folder.file("empty.wav"), Sound{44100, 0, {{}, {}}});
        std::ofstream(folder.file("text.clap")) << "not a CLAP library\n";
    }

    std::map<std::string, std::string> files() const {
        return {{"{in}", folder.file("in.wav")},     {"{three}", folder.file("three.wav")},
                {"{text}", folder.file("text.txt")}, {"{missing}", folder.file("missing.wav")},
                {"{out}", folder.file("out.wav")},   {"{no folder}", folder.file("nowhere/out.wav")},
                {"{empty}", folder.file("empty.wav")}, {"{csv}", folder.file("blocks.csv")},
                {"{folder}", folder.path().string()}, {"{clap}", folder.file("text.clap")}};
    }

    std::vector<std::string> args() const {
        std::vector<std::string> args = GetParam().args;
        for (std::string& arg : args) {
            for (const auto& [word, file] : files()) {
                if (const auto at = arg.find(word); at != std::string::npos) arg.replace(at, word.size(), file);
            }
        }
        return args;
    }

    void expectReported(const ToolRun& run) const {
        EXPECT_EQ(run.status, GetParam().status) << run.err;
        EXPECT_THAT(run.err, testing::MatchesRegex(std::string("slicecast: error: ") + GetParam().message + "\n"));
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
    }

    ScratchFolder folder;
};

TEST_P(ToolError, ReportedWithoutOutput) {
    const std::vector<std::string> before = folder.entries();
    expectReported(runTool(args()));
    EXPECT_EQ(folder.entries(), before);
}

TEST_P(ToolError, LeavesAnExistingOutputAlone) {
    std::ofstream(folder.file("out.wav")) << "precious";
    const std::vector<std::string> before = folder.entries();
    expectReported(runTool(args()));
    EXPECT_EQ(folder.entries(), before);
    EXPECT_EQ(fileContents(folder.file("out.wav")), "precious");
}

const std::vector<std::string> kRender{"render", "{in}", "{out}"};

std::vector<std::string> render(std::vector<std::string> options) {
    options.insert(options.begin(), kRender.begin(), kRender.end());
    return options;
}

INSTANTIATE_TEST_SUITE_P(Files, ToolError,
                         testing::Values(ErrorCase{"MissingInput",
                                                   {"render", "{missing}", "{out}"},
                                                   "cannot read .*/missing.wav: .*No such file.*",
                                                   kRunFailed},
                                         ErrorCase{"InputNotASound",
                                                   {"render", "{text}", "{out}"},
                                                   "cannot read .*/text.txt: .*not recognised.*",
                                                   kRunFailed},
                                         ErrorCase{
                                             "ThreeChannels",
                                             {"render", "{three}", "{out}"},
                                             ".*/three.wav has 3 channels; only mono and stereo files can be rendered",
                                             kRunFailed},
                                         ErrorCase{"OutputFolderMissing",
                                                   {"render", "{in}", "{no folder}"},
                                                   "cannot write .*/nowhere/out.wav: No such file or directory",
                                                   kRunFailed}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Effects, ToolError,
    testing::Values(
        ErrorCase{"LibraryDoesNotLoad", render({"--plugin", "{text}"}), "cannot load plug-in library: .*/text.txt: .*",
                  kRunFailed},
        ErrorCase{"LibraryMissing", render({"--plugin", "{missing}"}),
                  "cannot load plug-in library: .*/missing.wav: cannot open shared object file: No such file or "
                  "directory",
                  kRunFailed},
        ErrorCase{"NoEntryPoint", render({"--plugin", FIXTURE_NO_ENTRY_PATH}),
                  "no VST entry point \\(VSTPluginMain or main\\) in .*fixture_no_entry.so", kRunFailed},
        ErrorCase{"EffectRefuses", render({"--plugin", FIXTURE_REFUSING_PATH}),
                  "the effect refused to be created \\(its entry point answered null\\)", kRunFailed},
        ErrorCase{"NoInPlaceProcessing", render({"--plugin", FIXTURE_NO_REPLACING_PATH}),
                  "the effect cannot process in place \\(effFlagsCanReplacing is not set\\); this host calls "
                  "processReplacing only",
                  kRunFailed},
        ErrorCase{"TooManyChannels", render({"--plugin", FIXTURE_WIDE_PATH}),
                  "the effect has 6 inputs and 6 outputs; this host feeds effects with 1 or 2 of each", kRunFailed},
        ErrorCase{"StereoFileIntoMonoEffect", render({"--plugin", FIXTURE_MAIN_ONLY_PATH}),
                  "the effect has one input but the file has 2 channels; give it a mono file", kRunFailed},
        ErrorCase{"InfoOfNoLibrary", {"info", "--plugin", "{missing}"}, "cannot load plug-in library: .*", kRunFailed},
        // A folder is an LV2 bundle, a URI an LV2 plug-in, a .clap file a
        // CLAP library, a .vst3 folder or file a VST 3 module.
        ErrorCase{"FolderThatIsNoBundle", render({"--plugin", "{folder}"}),
                  "'.*' is no LV2 bundle \\(no manifest.ttl\\)", kRunFailed},
        ErrorCase{"UnknownLv2Uri", render({"--plugin", "urn:example:no-such-plug-in"}),
                  "no LV2 bundle folder or installed plug-in 'urn:example:no-such-plug-in'", kRunFailed},
        ErrorCase{"ClapFileThatIsNoLibrary", render({"--plugin", "{clap}"}),
                  "cannot load plug-in library: .*/text.clap: .*", kRunFailed},
        ErrorCase{"Vst3ModuleMissing", render({"--plugin", "{folder}/None.vst3"}),
                  "cannot load plug-in library: .*/None.vst3: .*", kRunFailed},
        // LV2's and VST 3's steps are whole numbers, so only they are tried.
        ErrorCase{"Lv2StepTextNeverShown", render({"--plugin", kLv2Edition.plugin, "--set", "WaveLength=1/7"}),
                  "parameter WaveLength never shows '1/7'; it shows 1/1, 1/2, 1/3, 1/4, 1/6, 1/8, 1/12, 1/16, 1/24, "
                  "1/32, 1/48, 1/64, or takes a number from 0 to 11",
                  kRunFailed},
        ErrorCase{"Vst3StepTextNeverShown", render({"--plugin", kVst3Edition.plugin, "--set", "WaveLength=1/7"}),
                  "parameter WaveLength never shows '1/7'; it shows 1/1, 1/2, 1/3, 1/4, 1/6, 1/8, 1/12, 1/16, 1/24, "
                  "1/32, 1/48, 1/64, or takes a number from 0 to 11",
                  kRunFailed}),
    [](const auto& info) { return std::string(info.param.name); });

// Output names and folders, checked before anything is rendered.
INSTANTIATE_TEST_SUITE_P(
    Outputs, ToolError,
    testing::Values(
        ErrorCase{"UnknownExtension", {"render", "{in}", "{folder}/out.xyz"},
                  "cannot tell the format of .*/out.xyz from its extension '.xyz'; known: aif, aiff, .*, wav, .*",
                  kBadCommandLine},
        ErrorCase{"NoExtension", {"render", "{in}", "{folder}/out"},
                  "cannot tell the format of .*/out from its extension; known: .*", kBadCommandLine},
        ErrorCase{"EncodingTheContainerCannotHold", {"render", "{in}", "{folder}/out.flac", "--format", "float"},
                  "cannot write .*/out.flac as float: FLAC .* holds pcm16, pcm24 with 2 channels at 44100 Hz",
                  kBadCommandLine},
        ErrorCase{"InputsEncodingTheContainerCannotHold", {"render", "{in}", "{folder}/out.ogg", "--format", "same"},
                  "cannot write .*/out.ogg as float: OGG .* holds vorbis.*", kBadCommandLine},
        ErrorCase{"ExtensionWithoutOutputFolder", render({"--ext", "flac"}), "--ext requires --out-dir",
                  kBadCommandLine},
        ErrorCase{"NoJobs", {"render", "{in}", "--out-dir", "{folder}/o", "--jobs", "0"}, "--jobs: .*0.*",
                  kBadCommandLine},
        ErrorCase{"BatchToUnknownExtension", {"render", "{in}", "--out-dir", "{folder}/o", "--ext", "xyz"},
                  "cannot tell the format of .*/o/in.xyz from its extension '.xyz'; known: .*", kBadCommandLine},
        ErrorCase{"BatchExtensionWithAFolder",
                  {"render", "{in}", "--out-dir", "{folder}/o", "--ext", ".x/../../escaped.wav"},
                  "--ext names an extension, not a folder: '.x/../../escaped.wav'", kBadCommandLine},
        ErrorCase{"BatchInputMissing", {"render", "{in}", "{missing}", "--out-dir", "{folder}/o"},
                  "no such file or folder: .*/missing.wav", kBadCommandLine},
        ErrorCase{"BatchOutputReplacesItsInput", {"render", "{in}", "--out-dir", "{folder}"},
                  ".*/in.wav would be replaced by its own output; choose another --out-dir or --ext", kBadCommandLine},
        ErrorCase{"BatchTwoInputsToOneOutput", {"render", "{in}", "{in}", "--out-dir", "{folder}/o"},
                  ".*/in.wav and .*/in.wav would both be written to .*/o/in.wav", kBadCommandLine},
        ErrorCase{"BatchFolderThatCannotBeMade", {"render", "{in}", "--out-dir", "{text}/o"},
                  "cannot make the folder .*/text.txt/o: Not a directory", kRunFailed},
        ErrorCase{"PictureNeitherPngNorSvg", render({"--plot", "{folder}/picture.jpg"}),
                  "cannot draw .*/picture.jpg: a picture is written as .png or .svg", kBadCommandLine},
        ErrorCase{"PictureOfABatch", {"render", "{in}", "--out-dir", "{folder}/o", "--plot", "{folder}/p.png"},
                  "--blocks-out and --plot tell of one render; leave them out with --out-dir", kBadCommandLine},
        ErrorCase{"PictureFolderMissing", render({"--plot", "{folder}/nowhere/picture.png"}),
                  "cannot write .*/nowhere/picture.png: No such file or directory", kRunFailed}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Settings, ToolError,
    testing::Values(
        ErrorCase{"UnknownName", render({"--set", "Speed=0.5"}),
                  "the effect has no parameter 'Speed'; its parameters are 0 WaveLength, 1 UpdatePeriod, 2 Rate, "
                  "3 FadeOut, 4 DecayRate, 5 Mix",
                  kRunFailed},
        ErrorCase{"IndexBeyondTheParameters", render({"--set", "6=0.5"}), "the effect has no parameter '6'; .*",
                  kRunFailed},
        ErrorCase{"TextNeverShown", render({"--set", "WaveLength=1/5"}),
                  "parameter WaveLength never shows '1/5'; it shows 1/1, 1/2, 1/3, 1/4, 1/6, 1/8, 1/12, 1/16, "
                  "1/24, 1/32, 1/48, 1/64, or takes a number from 0 to 1",
                  kRunFailed},
        ErrorCase{"NumberNeverShown", render({"--set", "Rate=170"}),
                  "parameter Rate never shows '170'; it shows 0, 1, 2, 3, 4, 5, \\.\\.\\., 95, 96, 97, 98, 99, "
                  "100, or takes a number from 0 to 1",
                  kRunFailed},
        ErrorCase{"FinerThanShown", render({"--set", "Mix=1.5"}), "parameter Mix never shows '1.5'; .*", kRunFailed},
        ErrorCase{"NoValue", render({"--set", "Rate"}), "a setting is NAME=VALUE, not 'Rate'", kRunFailed}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ToolError,
    testing::Values(
        ErrorCase{"BlockZero", render({"--block", "0"}), "--block: .*0.*", kBadCommandLine},
        ErrorCase{"BlockNegative", render({"--block=-512"}), "--block: .*-512.*", kBadCommandLine},
        ErrorCase{"BlockTooLarge", render({"--block", "2000000"}), "--block: .*2000000.*", kBadCommandLine},
        ErrorCase{"BlockNotANumber", render({"--block", "big"}), "--block: .*big.*", kBadCommandLine},
        ErrorCase{"TempoZero", render({"--tempo", "0"}), "--tempo: not a number above 0: 0", kBadCommandLine},
        ErrorCase{"TempoNegative", render({"--tempo=-120"}), "--tempo: not a number above 0: -120", kBadCommandLine},
        ErrorCase{"TempoNotANumber", render({"--tempo", "nan"}), "--tempo: not a number above 0: nan", kBadCommandLine},
        ErrorCase{"StartInfinite", render({"--start", "inf"}), "--start: not a finite number: inf", kBadCommandLine},
        ErrorCase{"UnknownFormat", render({"--format", "mp3"}), "--format: mp3 not in .*", kBadCommandLine},
        ErrorCase{"NoOutputNamed", {"render", "{in}"},
                  "render takes an input and an output file, or inputs and --out-dir \\(see --help\\)",
                  kBadCommandLine},
        ErrorCase{"UnknownOption", render({"--frobnicate"}), ".*--frobnicate.*", kBadCommandLine},
        ErrorCase{"NoCommand", {}, "give a command: render, info, demo or edit \\(see --help\\)", kBadCommandLine},
        ErrorCase{"UnknownCommand",
                  {"play", "{in}"},
                  "The following arguments were not expected: .*play.*",
                  kBadCommandLine}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Transport, ToolError,
    testing::Values(
        ErrorCase{"TempoMapOutOfOrder", render({"--tempo", "120,8:140,4:90"}),
                  "--tempo: tempo changes out of order: '4:90' comes after '8:140'", kBadCommandLine},
        ErrorCase{"TempoMapSamePositionTwice", render({"--tempo", "0:120,0:140"}),
                  "--tempo: tempo changes out of order: '0:140' comes after '0:120'", kBadCommandLine},
        ErrorCase{"TempoMapZero", render({"--tempo", "120,8:0"}), "--tempo: not a number above 0: 0", kBadCommandLine},
        ErrorCase{"TempoMapNegative", render({"--tempo", "120,8:-90"}), "--tempo: not a number above 0: -90",
                  kBadCommandLine},
        ErrorCase{"TempoChangeWithoutPosition", render({"--tempo", "120,140"}),
                  "--tempo: a tempo change is POSITION:TEMPO, not '140'", kBadCommandLine},
        ErrorCase{"LoopEndBeforeStart", render({"--loop", "8:4"}),
                  "--loop: the loop '8:4' does not end after it starts", kBadCommandLine},
        ErrorCase{"LoopEmpty", render({"--loop", "4:4"}), "--loop: the loop '4:4' does not end after it starts",
                  kBadCommandLine},
        ErrorCase{"LoopWithoutEnd", render({"--loop", "8"}), "--loop: the loop '8' has no ':'", kBadCommandLine},
        ErrorCase{"LoopBeforeTheStart", render({"--start", "4", "--loop", "2:8"}),
                  "--loop: the loop starts at 2, before the render starts at 4; there is no input there to play again",
                  kBadCommandLine},
        ErrorCase{"LoopCountWithoutLoop", render({"--loop-count", "2"}), "--loop-count requires --loop",
                  kBadCommandLine},
        ErrorCase{"LoopCountZero", render({"--loop", "1:2", "--loop-count", "0"}), "--loop-count: .*0 not in range.*",
                  kBadCommandLine},
        ErrorCase{"CountInNegative", render({"--count-in=-1"}), "--count-in: .*-1 not in range.*", kBadCommandLine},
        ErrorCase{"CountInWithoutARoll", {"render", "{empty}", "{out}", "--count-in", "2", "--blocks-out", "{csv}"},
                  "a count-in needs something to roll after it, but .*/empty.wav has no frames", kRunFailed},
        ErrorCase{"RandomBlocksReversed", render({"--block", "random:10-5:1"}),
                  "--block: the smallest block comes first in 'random:10-5:1'", kBadCommandLine},
        ErrorCase{"RandomBlocksWithoutSeed", render({"--block", "random:1-5"}),
                  "--block: varying blocks are random:MIN-MAX:SEED, not 'random:1-5'", kBadCommandLine},
        ErrorCase{"RandomBlocksTooLarge", render({"--block", "random:1-2000000:5"}),
                  "--block: a block is 1 to 1048576 frames, not '2000000'", kBadCommandLine},
        ErrorCase{"AutomationBeforeZero", render({"--automate", "Rate=-1:0.5"}),
                  "--automate: the automation point '-1:0.5' lies before 0", kBadCommandLine},
        ErrorCase{"AutomationOutOfOrder", render({"--automate", "Rate=4:0.5,2:1"}),
                  "--automate: automation points out of order: '2:1' comes after a later one", kBadCommandLine},
        ErrorCase{"AutomationWithoutPoints", render({"--automate", "Rate"}),
                  "--automate: automation is NAME=POS:VALUE,POS:VALUE,\\.\\.\\., not 'Rate'", kBadCommandLine},
        ErrorCase{"AutomationPointWithoutValue", render({"--automate", "Rate=1:"}),
                  "--automate: the automation point '1:' has no value", kBadCommandLine},
        ErrorCase{"AutomationOfUnknownName", render({"--automate", "Speed=0:1", "--blocks-out", "{csv}"}),
                  "the effect has no parameter 'Speed'; .*", kRunFailed},
        ErrorCase{"AutomationTextNeverShown", render({"--automate", "WaveLength=0:1/5", "--blocks-out", "{csv}"}),
                  "parameter WaveLength never shows '1/5'; .*", kRunFailed},
        ErrorCase{"AutomatedTwice", render({"--automate", "Rate=0:0", "--automate", "rate=1:1"}),
                  "parameter Rate is automated twice; give all its points in one --automate", kRunFailed},
        ErrorCase{"BlockListFolderMissing", render({"--blocks-out", "{no folder}"}),
                  "cannot write .*/nowhere/out.wav: No such file or directory", kRunFailed}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder where the output should go is refused before anything is
// rendered, and stays as it was.
TEST(ToolErrors, OutputThatIsAFolder) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(testsupport::noise(100), 44100));
    std::filesystem::create_directory(folder.file("out.wav"));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav")});
    EXPECT_EQ(run.status, kRunFailed);
    EXPECT_THAT(run.err,
                testing::MatchesRegex("slicecast: error: cannot write .*/out.wav: it is a folder, not a file name\n"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("out.wav")));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

// A file whose start comes through a pipe that then stays open: the tool
// waits for the rest with its temporary output made, and is interrupted.
TEST(ToolErrors, InterruptedRenderLeavesNothingBehind) {
    const ScratchFolder folder;
    writeSound(folder.file("whole.wav"), stereoSound(testsupport::noise(100000), 44100));
    const std::string start = fileContents(folder.file("whole.wav")).substr(0, 100000);
    std::filesystem::remove(folder.file("whole.wav"));
    ASSERT_EQ(mkfifo(folder.file("in.wav").c_str(), 0600), 0);
    std::ofstream(folder.file("out.wav")) << "precious";

    ToolProcess tool({"render", folder.file("in.wav"), folder.file("out.wav")});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int pipe = -1;
    while (pipe < 0 && std::chrono::steady_clock::now() < deadline) {
        pipe = open(folder.file("in.wav").c_str(), O_WRONLY | O_NONBLOCK);
    }
    ASSERT_GE(pipe, 0) << "the tool never opened its input";
    ASSERT_EQ(fcntl(pipe, F_SETFL, 0), 0);
    ASSERT_EQ(write(pipe, start.data(), start.size()), static_cast<ssize_t>(start.size()));
    while (folder.entries().size() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(folder.entries().size(), 3u) << "no temporary output appeared";
    kill(tool.pid(), SIGINT);
    const ToolRun run = tool.wait();
    close(pipe);

    EXPECT_EQ(run.signal, SIGINT);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
    EXPECT_EQ(fileContents(folder.file("out.wav")), "precious");
}

}  // namespace
}  // namespace tooltest

namespace tooltest {
namespace {

// Two files rendered at once, both waiting on pipes with their temporary
// outputs made: an interrupt removes both.
TEST(ToolErrors, InterruptedBatchLeavesNothingBehind) {
    const ScratchFolder folder;
    writeSound(folder.file("whole.wav"), stereoSound(testsupport::noise(100000), 44100));
    const std::string start = fileContents(folder.file("whole.wav")).substr(0, 100000);
    for (const char* name : {"a.wav", "b.wav"}) ASSERT_EQ(mkfifo(folder.file(name).c_str(), 0600), 0);

    ToolProcess tool({"render", folder.file("a.wav"), folder.file("b.wav"), "--out-dir", folder.file("out"),
                      "--jobs", "2"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<int> pipes;
    for (const char* name : {"a.wav", "b.wav"}) {
        int pipe = -1;
        while (pipe < 0 && std::chrono::steady_clock::now() < deadline) {
            pipe = open(folder.file(name).c_str(), O_WRONLY | O_NONBLOCK);
        }
        ASSERT_GE(pipe, 0) << "the tool never opened " << name;
        ASSERT_EQ(fcntl(pipe, F_SETFL, 0), 0);
        ASSERT_EQ(write(pipe, start.data(), start.size()), static_cast<ssize_t>(start.size()));
        pipes.push_back(pipe);
    }
    const auto pending = [&folder] {
        return std::filesystem::exists(folder.file("out")) ? ScratchFolder::entriesOf(folder.file("out")).size() : 0u;
    };
    while (pending() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(pending(), 2u) << "no temporary outputs appeared";
    kill(tool.pid(), SIGINT);
    const ToolRun run = tool.wait();
    for (int pipe : pipes) close(pipe);

    EXPECT_EQ(run.signal, SIGINT);
    EXPECT_EQ(ScratchFolder::entriesOf(folder.file("out")), std::vector<std::string>{});
}

}  // namespace
}  // namespace tooltest
