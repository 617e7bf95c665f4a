// The six parameters (and the program change beside them) as a VST 3 host
// sees them through the controller: their infos, the conversions between
// normalized and plain values for every step, the display texts and the
// texts read back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "vst3_test_host.h"

namespace {

using vst3test::Ref;

Ref<vst3::IEditController> controller() {
    auto made = vst3test::createInstance<vst3::IEditController>(vst3test::classIdAt(1));
    EXPECT_EQ(made->initialize(nullptr), vst3::kResultOk);
    return made;
}

std::u16string utf16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::optional<std::u16string> textOf(vst3::IEditController& controller, vst3::ParamID id, double value) {
    vst3::String128 text{};
    if (controller.getParamStringByValue(id, value, text) != vst3::kResultOk) return std::nullopt;
    return std::u16string(text);
}

std::optional<double> valueOf(vst3::IEditController& controller, vst3::ParamID id, const std::u16string& text) {
    std::u16string copy = text;
    double value = -1.0;
    if (controller.getParamValueByString(id, copy.data(), value) != vst3::kResultOk) return std::nullopt;
    return value;
}

TEST(Vst3Parameters, SixAutomatableParametersWithTheirIdsTitlesStepsAndDefaultsThenTheProgram) {
    const struct {
        const char* title;
        const char* units;
        vst3::int32 stepCount;
        double defaultValue;
    } rows[] = {{"WaveLength", "", 11, 5.0 / 11.0}, {"UpdatePeriod", "", 4, 3.0 / 4.0}, {"Rate", "%", 0, 0.7},
                {"FadeOut", "%", 0, 0.0},          {"DecayRate", "%", 0, 1.0},      {"Mix", "%", 0, 1.0}};
    const auto edit = controller();
    ASSERT_EQ(edit->getParameterCount(), 7);
    for (vst3::int32 index = 0; index < 6; ++index) {
        const auto& row = rows[index];
        vst3::ParameterInfo info{};
        ASSERT_EQ(edit->getParameterInfo(index, info), vst3::kResultOk);
        EXPECT_EQ(info.id, static_cast<vst3::ParamID>(index));
        EXPECT_EQ(std::u16string(info.title), utf16(row.title));
        EXPECT_EQ(std::u16string(info.units), utf16(row.units));
        EXPECT_EQ(info.stepCount, row.stepCount) << row.title;
        EXPECT_EQ(info.defaultNormalizedValue, row.defaultValue) << row.title;
        EXPECT_EQ(info.unitId, vst3::kRootUnitId);
        EXPECT_EQ(info.flags, vst3::kCanAutomate | (row.stepCount > 0 ? vst3::kIsList : 0)) << row.title;
        EXPECT_EQ(edit->getParamNormalized(info.id), row.defaultValue) << row.title << " before any change";
    }
    // A list of the fourteen programs, not automatable, neither hidden nor
    // read-only, in the root unit.
    vst3::ParameterInfo info{};
    ASSERT_EQ(edit->getParameterInfo(6, info), vst3::kResultOk);
    EXPECT_EQ(info.id, vst3test::kProgramId);
    EXPECT_EQ(std::u16string(info.title), u"Program");
    EXPECT_EQ(info.stepCount, 13);
    EXPECT_EQ(info.defaultNormalizedValue, 0.0);
    EXPECT_EQ(info.unitId, vst3::kRootUnitId);
    EXPECT_EQ(info.flags, vst3::kIsProgramChange | vst3::kIsList);
    EXPECT_EQ(edit->getParameterInfo(7, info), vst3::kInvalidArgument);
    EXPECT_EQ(edit->getParameterInfo(-1, info), vst3::kInvalidArgument);
}

TEST(Vst3Parameters, EveryStepGoesToItsNormalizedValueAndBackExactly) {
    const auto edit = controller();
    for (const vst3::ParamID id : {0u, 1u}) {
        vst3::ParameterInfo info{};
        edit->getParameterInfo(static_cast<vst3::int32>(id), info);
        const vst3::int32 steps = info.stepCount;
        for (vst3::int32 step = 0; step <= steps; ++step) {
            const double normalized = edit->plainParamToNormalized(id, step);
            EXPECT_EQ(normalized, static_cast<double>(step) / steps) << "id " << id << ", step " << step;
            EXPECT_EQ(edit->normalizedParamToPlain(id, normalized), step) << "id " << id << ", step " << step;
            // The step's whole share of 0..1, as a host that draws steps
            // divides it: [k / (N + 1), (k + 1) / (N + 1)), the last closed.
            const double lowest = static_cast<double>(step) / (steps + 1);
            const double highest = static_cast<double>(step + 1) / (steps + 1) - 1e-12;
            EXPECT_EQ(edit->normalizedParamToPlain(id, lowest), step) << "id " << id << ", step " << step;
            EXPECT_EQ(edit->normalizedParamToPlain(id, step == steps ? 1.0 : highest), step)
                << "id " << id << ", step " << step;
            EXPECT_EQ(textOf(*edit, id, normalized), textOf(*edit, id, step == steps ? 1.0 : highest));
        }
    }
}

TEST(Vst3Parameters, PercentagesArePlainFromZeroToAHundredAndHostValuesAreKeptInRange) {
    const struct {
        vst3::ParamID id;
        double normalized;
        double plain;
    } rows[] = {{2, 0.7, 70.0}, {3, 0.0, 0.0}, {4, 1.0, 100.0}, {5, 0.125, 12.5},
                {2, 1.5, 100.0}, {3, -0.5, 0.0}, {0, 7.0, 11.0}, {1, -1.0, 0.0}};
    const auto edit = controller();
    for (const auto& row : rows)
        EXPECT_EQ(edit->normalizedParamToPlain(row.id, row.normalized), row.plain) << row.id << " " << row.normalized;
    EXPECT_EQ(edit->plainParamToNormalized(5, 12.5), 0.125);
    EXPECT_EQ(edit->plainParamToNormalized(2, 250.0), 1.0);
    EXPECT_EQ(edit->plainParamToNormalized(0, 99.0), 1.0);
    // An id the effect does not have maps a value to itself.
    EXPECT_EQ(edit->normalizedParamToPlain(6, 0.25), 0.25);
    EXPECT_EQ(edit->plainParamToNormalized(vst3::kNoParamId, 42.0), 42.0);

    EXPECT_EQ(edit->setParamNormalized(2, 1.25), vst3::kResultOk);
    EXPECT_EQ(edit->getParamNormalized(2), 1.0);
    EXPECT_EQ(edit->setParamNormalized(3, std::nan("")), vst3::kInvalidArgument);
    EXPECT_EQ(edit->getParamNormalized(3), 0.0) << "a refused value changes nothing";
    EXPECT_EQ(edit->setParamNormalized(6, 0.5), vst3::kInvalidArgument);
}

TEST(Vst3Parameters, ValuesShowTheVstEditionsTexts) {
    // Percentages show as the VST 2.4 edition shows a value: in single
    // precision, times 100, truncated (0.53 is 0.52999997f and shows 52).
    const struct {
        vst3::ParamID id;
        double normalized;
        const char* text;
    } rows[] = {
        {0, 5.0 / 11.0, "1/8"}, {0, 0.0, "1/1"},    {0, 1.0, "1/64"}, {0, 0.5, "1/12"},  {1, 0.0, "4/1"},
        {1, 0.75, "1/2"},       {1, 1.0, "1/4"},    {2, 0.7, "70"},   {2, 0.999, "99"},  {4, 0.53, "52"},
        {5, 1.0, "100"},        {3, 0.0, "0"},      {5, 1.5, "100"},  {5, -2.0, "0"},
        {2, std::numeric_limits<double>::quiet_NaN(), "70"},
    };
    const auto edit = controller();
    for (const auto& row : rows)
        EXPECT_EQ(textOf(*edit, row.id, row.normalized), utf16(row.text)) << row.id << " " << row.normalized;
    EXPECT_EQ(textOf(*edit, 6, 0.5), std::nullopt);
}

TEST(Vst3Parameters, TextsAreReadBackAndNonsenseIsRefused) {
    const struct {
        vst3::ParamID id;
        std::u16string text;
        std::optional<double> normalized;
    } rows[] = {
        {0, u"1/8", 5.0 / 11.0}, {0, u" 1/64 ", 1.0}, {0, u"1/5", {}},   {0, u"", {}},     {1, u"1/1", 0.5},
        {1, u"4/1", 0.0},        {1, u"1/8", {}},     {2, u"70", 0.7},   {2, u"70 %", 0.7}, {5, u"12.5", 0.125},
        {2, u"250", 1.0},        {3, u"-4", 0.0},     {3, u"abc", {}},   {3, u"nan", {}},   {4, u"\u0667\u0660", {}},
        {6, u"70", {}},
    };
    const auto edit = controller();
    for (const auto& row : rows)
        EXPECT_EQ(valueOf(*edit, row.id, row.text), row.normalized)
            << row.id << " '" << std::string(row.text.begin(), row.text.end()) << "'";
}

TEST(Vst3Parameters, EveryTextShownIsReadBackToAValueThatShowsTheSame) {
    const auto edit = controller();
    for (vst3::ParamID id = 0; id < 6; ++id) {
        vst3::ParameterInfo info{};
        edit->getParameterInfo(static_cast<vst3::int32>(id), info);
        const int values = info.stepCount > 0 ? info.stepCount : 100;
        for (int i = 0; i <= values; ++i) {
            const auto text = textOf(*edit, id, static_cast<double>(i) / values);
            ASSERT_TRUE(text);
            const auto back = valueOf(*edit, id, *text);
            ASSERT_TRUE(back) << "id " << id << ", value " << i;
            EXPECT_EQ(textOf(*edit, id, *back), text) << "id " << id << ", value " << i;
            if (info.stepCount > 0) {
                EXPECT_EQ(*back, static_cast<double>(i) / values) << "a step's own value";
            }
        }
    }
}

}  // namespace
