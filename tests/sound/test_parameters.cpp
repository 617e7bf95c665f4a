// The six parameters as a host sees them: names, labels, display texts,
// quantisation and read-back, through the loaded library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "slicecast_plugin.h"

namespace {

constexpr std::size_t kCanaryBufferSize = 40;
constexpr std::size_t kParameterTextBytes = 17;

class Parameters : public ::testing::Test {
protected:
    testsupport::SlicecastSession session;

    // Asks for a parameter text in a canary-filled buffer; checks that the
    // effect wrote exactly 17 bytes (text, NULs) and nothing beyond.
    std::string text(VstInt32 opcode, VstInt32 index) {
        char buffer[kCanaryBufferSize];
        std::memset(buffer, '#', sizeof(buffer));
        EXPECT_EQ(session.plugin->dispatch(opcode, index, 0, buffer), 0);
        const std::string written(buffer);
        for (std::size_t i = written.size(); i < kParameterTextBytes; ++i) {
            EXPECT_EQ(buffer[i], '\0') << "byte " << i << " of opcode " << opcode << " index " << index;
        }
        for (std::size_t i = kParameterTextBytes; i < sizeof(buffer); ++i) {
            EXPECT_EQ(buffer[i], '#') << "byte " << i << " written past the bound";
        }
        return written;
    }
    std::string display(VstInt32 index) { return text(effGetParamDisplay, index); }
    void set(VstInt32 index, float value) { session.plugin->setParameter(index, value); }
    float get(VstInt32 index) { return session.plugin->getParameter(index); }
};

}  // namespace

TEST_F(Parameters, DefaultsNamesLabelsAndDisplays) {
    const struct {
        const char* name;
        const char* label;
        float value;
        const char* display;
    } expected[] = {
        {"WaveLength", "", 0.45454547f, "1/8"}, {"UpdatePeriod", "", 0.75f, "1/2"},
        {"Rate", "%", 0.699999988f, "70"},      {"FadeOut", "%", 0.0f, "0"},
        {"DecayRate", "%", 1.0f, "100"},        {"Mix", "%", 1.0f, "100"},
    };
    for (VstInt32 index = 0; index < 6; ++index) {
        const auto& e = expected[index];
        EXPECT_EQ(text(effGetParamName, index), e.name);
        EXPECT_EQ(text(effGetParamLabel, index), e.label);
        EXPECT_EQ(get(index), e.value) << e.name;
        EXPECT_EQ(display(index), e.display) << e.name;
    }
}

TEST_F(Parameters, IndicesOutsideTheSixAreIgnored) {
    for (VstInt32 index : {6, 7, 100, -1, std::numeric_limits<VstInt32>::min()}) {
        char buffer[kCanaryBufferSize];
        std::memset(buffer, '#', sizeof(buffer));
        session.plugin->dispatch(effGetParamName, index, 0, buffer);
        session.plugin->dispatch(effGetParamDisplay, index, 0, buffer);
        EXPECT_EQ(buffer[0], '#') << "name or display written for index " << index;
        EXPECT_EQ(text(effGetParamLabel, index), "%") << index;
        EXPECT_EQ(get(index), 0.0f);
        set(index, 0.0f);
    }
    // Nothing moved.
    EXPECT_EQ(get(0), 0.45454547f);
    EXPECT_EQ(get(5), 1.0f);
}

TEST_F(Parameters, WaveLengthQuantisesIntoElevenBands) {
    const struct {
        float value;
        const char* display;
        float readBack;
    } cases[] = {
        {0.0f, "1/1", 0.0f},
        {0.09f, "1/1", 0.0f},
        {1.0f / 11.0f, "1/2", 0.09090909f},
        {0.2f, "1/3", 0.18181819f},
        {0.3f, "1/4", 0.27272728f},
        {0.4f, "1/6", 0.36363637f},
        {0.5f, "1/8", 0.45454547f},
        {0.6f, "1/12", 0.54545456f},
        {0.7f, "1/16", 0.6363636f},
        {0.75f, "1/24", 0.72727275f},
        {0.85f, "1/32", 0.8181818f},
        {0.95f, "1/48", 0.90909094f},
        {0.99999994f, "1/48", 0.90909094f},
        {1.0f, "1/64", 1.0f},
    };
    for (const auto& c : cases) {
        set(0, c.value);
        EXPECT_EQ(display(0), c.display) << c.value;
        EXPECT_EQ(get(0), c.readBack) << c.value;
    }
}

TEST_F(Parameters, UpdatePeriodQuantisesIntoFourBands) {
    const struct {
        float value;
        const char* display;
        float readBack;
    } cases[] = {
        {0.0f, "4/1", 0.0f},  {0.2499f, "4/1", 0.0f}, {0.25f, "2/1", 0.25f}, {0.5f, "1/1", 0.5f},
        {0.74f, "1/1", 0.5f}, {0.75f, "1/2", 0.75f},  {0.99999994f, "1/2", 0.75f}, {1.0f, "1/4", 1.0f},
    };
    for (const auto& c : cases) {
        set(1, c.value);
        EXPECT_EQ(display(1), c.display) << c.value;
        EXPECT_EQ(get(1), c.readBack) << c.value;
    }
}

TEST_F(Parameters, ReadBackOfEveryIndexRestoresThatIndex) {
    // A host saves the six values and restores them: the indices must survive.
    for (VstInt32 parameter : {0, 1}) {
        const int steps = parameter == 0 ? 11 : 4;
        for (int step = 0; step <= steps; ++step) {
            set(parameter, static_cast<float>(step) / static_cast<float>(steps));
            const std::string shown = display(parameter);
            const float saved = get(parameter);
            set(parameter, 0.0f);
            set(parameter, saved);
            EXPECT_EQ(display(parameter), shown) << "parameter " << parameter << " step " << step;
            EXPECT_EQ(get(parameter), saved);
        }
    }
}

TEST_F(Parameters, FloatParametersAreStoredAsReceivedAndShownTruncated) {
    const struct {
        float value;
        const char* display;
    } cases[] = {
        {0.999f, "99"}, {0.005f, "0"}, {1.0f, "100"}, {0.7f, "70"}, {0.333f, "33"}, {0.0f, "0"},
        {-0.5f, "-50"}, {2.5f, "250"}, {-0.0049f, "0"},
    };
    for (VstInt32 index = 2; index < 6; ++index) {
        for (const auto& c : cases) {
            set(index, c.value);
            EXPECT_EQ(get(index), c.value);
            EXPECT_EQ(display(index), c.display) << "index " << index << " value " << c.value;
        }
    }
}

TEST_F(Parameters, ValuesNoHostShouldSendStayInsideTheTables) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float value;
        const char* waveLength;
        const char* updatePeriod;
    } cases[] = {
        {-0.05f, "1/1", "4/1"}, {1.05f, "1/64", "1/4"}, {-1.0f, "1/1", "4/1"}, {2.0f, "1/64", "1/4"},
        {1e30f, "1/64", "1/4"}, {-1e30f, "1/1", "4/1"}, {inf, "1/64", "1/4"},  {-inf, "1/1", "4/1"},
        {nan, "1/1", "4/1"},
    };
    for (const auto& c : cases) {
        set(0, c.value);
        set(1, c.value);
        EXPECT_EQ(display(0), c.waveLength) << c.value;
        EXPECT_EQ(display(1), c.updatePeriod) << c.value;
        // Processing indexes its tables with the same indices.
        const auto output = session.render(testsupport::noise(2048), 512);
        EXPECT_TRUE(std::isfinite(output.left.back()));
    }
}

TEST_F(Parameters, UnshowablePercentagesAreNeverMisleading) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        const char* display;
    } cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), "NaN"}, {inf, "Huge!"}, {-inf, "-Huge!"}, {1e30f, "Huge!"},
        {-1e30f, "-Huge!"}, {21474835.0f, "Huge!"}, {21474830.0f, "2147483008"}, {-21474836.0f, "-2147483648"},
    };
    for (const auto& c : cases) {
        set(2, c.value);
        EXPECT_EQ(display(2), c.display) << c.value;
    }
}
