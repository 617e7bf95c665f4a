// The LV2 edition's reader of time:Position objects, reached inside the
// adapter: whatever layout it kept from the last object, what it reads must
// be what a reader that never saw an object reads by walking every property.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "position_reader.h"

namespace {

using slicecast::PositionKeys;
using slicecast::PositionReader;
using slicecast::TimeUrids;

// URIDs as a host might hand them out, none of them 0.
TimeUrids urids() {
    TimeUrids u;
    u.atomObject = 1;
    u.atomInt = 2;
    u.atomLong = 3;
    u.atomFloat = 4;
    u.atomDouble = 5;
    u.timePosition = 6;
    u.timeSpeed = 7;
    u.timeBeatsPerMinute = 8;
    u.timeBeat = 9;
    u.timeBar = 10;
    u.timeBarBeat = 11;
    u.timeBeatsPerBar = 12;
    u.timeBeatUnit = 13;
    return u;
}
constexpr std::uint32_t kFrame = 14;  // a key the rule does not read
constexpr std::uint32_t kString = 15;  // a type that is no number

// One property: its key, its value's type, the value's bytes, and the
// value size its header states (the bytes' own size unless given).
struct Property {
    std::uint32_t key;
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
    std::int64_t statedSize = -1;
};

template <typename T>
std::vector<std::uint8_t> bytesOf(T value) {
    std::vector<std::uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Property D(std::uint32_t key, double v) { return {key, urids().atomDouble, bytesOf(v)}; }
Property F(std::uint32_t key, float v) { return {key, urids().atomFloat, bytesOf(v)}; }
Property L(std::uint32_t key, std::int64_t v) { return {key, urids().atomLong, bytesOf(v)}; }
Property I(std::uint32_t key, std::int32_t v) { return {key, urids().atomInt, bytesOf(v)}; }

// An object as a host writes it, each value padded to 8 bytes; sizeCut
// takes bytes off the object's stated size.
std::vector<std::uint64_t> objectOf(const std::vector<Property>& properties, std::uint32_t sizeCut = 0) {
    std::vector<std::uint8_t> body(8, 0);  // id 0, then otype
    const std::uint32_t otype = urids().timePosition;
    std::memcpy(body.data() + 4, &otype, 4);
    for (const Property& p : properties) {
        const auto stated = static_cast<std::uint32_t>(p.statedSize >= 0 ? p.statedSize : std::int64_t(p.bytes.size()));
        const std::uint32_t header[4] = {p.key, 0, stated, p.type};
        const std::size_t at = body.size();
        body.resize(at + sizeof header);
        std::memcpy(body.data() + at, header, sizeof header);
        body.insert(body.end(), p.bytes.begin(), p.bytes.end());
        body.resize((body.size() + 7) / 8 * 8, 0);
    }
    std::vector<std::uint64_t> words(1 + body.size() / 8 + 1, 0);
    const std::uint32_t atom[2] = {static_cast<std::uint32_t>(body.size()) - sizeCut, urids().atomObject};
    std::memcpy(words.data(), atom, sizeof atom);
    std::memcpy(words.data() + 1, body.data(), body.size());
    return words;
}

const LV2_Atom_Object& asObject(const std::vector<std::uint64_t>& words) {
    return *reinterpret_cast<const LV2_Atom_Object*>(words.data());
}

void expectSameKeys(const PositionKeys& expected, const PositionKeys& actual) {
    EXPECT_EQ(expected.present, actual.present);
    for (std::uint32_t key = 0; key < slicecast::kPositionKeyCount; ++key) {
        if (!expected.has(static_cast<slicecast::PositionKey>(key))) continue;
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, &expected.values[key], sizeof a);
        std::memcpy(&b, &actual.values[key], sizeof b);
        EXPECT_EQ(a, b) << "key " << key;
    }
}

// Reads the objects in turn with one reader, each also with a fresh one.
void expectEachReadAsAfresh(const std::vector<std::vector<std::uint64_t>>& objects) {
    PositionReader kept;
    for (std::size_t index = 0; index < objects.size(); ++index) {
        SCOPED_TRACE(testing::Message() << "object " << index);
        PositionReader fresh;
        expectSameKeys(fresh.read(urids(), asObject(objects[index])), kept.read(urids(), asObject(objects[index])));
    }
}

const TimeUrids u = urids();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PositionReader, TheSameLayoutIsReadWithItsNewValues) {
    const auto position = [](double beat, double bpm) {
        return objectOf({L(kFrame, 96000), F(u.timeSpeed, 1.0f), D(u.timeBeat, beat), L(u.timeBar, 1),
                         F(u.timeBarBeat, 0.5f), F(u.timeBeatsPerBar, 4.0f), I(u.timeBeatUnit, 4),
                         D(u.timeBeatsPerMinute, bpm)});
    };
    expectEachReadAsAfresh({position(4.0, 120.0), position(4.5, 120.0), position(kNaN, -1.0), position(-2.0, 90.0)});
    PositionReader reader;
    reader.read(u, asObject(position(4.0, 120.0)));
    const PositionKeys keys = reader.read(u, asObject(position(6.25, 133.0)));
    EXPECT_EQ(keys[slicecast::kBeat], 6.25);
    EXPECT_EQ(keys[slicecast::kBeatsPerMinute], 133.0);
}

TEST(PositionReader, AnObjectOfTheSameSizeInOtherTypesOrKeysIsWalked) {
    expectEachReadAsAfresh({
        objectOf({D(u.timeBeat, 3.0), D(u.timeBeatsPerMinute, 100.0)}),
        objectOf({L(u.timeBeat, 6), L(u.timeBeatsPerMinute, 90)}),
        objectOf({D(u.timeBar, 1.0), D(u.timeBarBeat, 1.0)}),
        objectOf({D(u.timeBarBeat, 2.0), D(u.timeBar, 3.0)}),
        objectOf({D(kFrame, 2.0), D(u.timeBar, 3.0)}),
        objectOf({{u.timeBeat, kString, bytesOf(7.0)}, D(u.timeBar, 3.0)}),
        objectOf({D(u.timeBeat, 3.0), D(u.timeBeatsPerMinute, 100.0)}),
    });
}

TEST(PositionReader, ValuesThatDoNotFitAreNotTakenAfterALayoutWasKept) {
    const auto twoDoubles = objectOf({D(u.timeBeat, 3.0), D(u.timeBeatsPerMinute, 100.0)});
    Property tooShort = D(u.timeBeatsPerMinute, 100.0);
    tooShort.statedSize = 2;
    Property beyondTheObject = D(u.timeBeatsPerMinute, 100.0);
    beyondTheObject.statedSize = 64;
    expectEachReadAsAfresh({
        twoDoubles,
        objectOf({D(u.timeBeat, 3.0), tooShort}),
        twoDoubles,
        objectOf({D(u.timeBeat, 5.0), beyondTheObject}),
        twoDoubles,
        objectOf({D(u.timeBeat, 3.0), D(u.timeBeatsPerMinute, 100.0)}, 8),
        objectOf({D(u.timeBeat, 3.0), D(u.timeBeatsPerMinute, 100.0)}, 20),
        objectOf({D(u.timeBeat, 7.0), D(u.timeBeatsPerMinute, 100.0)}, 8),
        twoDoubles,
    });
}

TEST(PositionReader, ObjectsOfManyPropertiesAreAlwaysWalked) {
    std::vector<Property> many;
    for (int i = 0; i < 20; ++i) many.push_back(D(i % 2 ? u.timeBeat : kFrame, i));
    std::vector<Property> changed = many;
    changed.back() = D(u.timeBar, 2.0);
    changed.push_back(D(u.timeBarBeat, 1.0));
    changed.erase(changed.begin());
    expectEachReadAsAfresh({objectOf(many), objectOf(changed), objectOf(many)});
    PositionReader reader;
    reader.read(u, asObject(objectOf(many)));
    EXPECT_EQ(reader.read(u, asObject(objectOf(many)))[slicecast::kBeat], 19.0);
}

TEST(PositionReader, DuplicateKeysKeepTheLastValueInEitherReading) {
    const auto object = objectOf({D(u.timeBeat, 1.0), F(u.timeBeat, 2.0f), I(u.timeBeat, 3)});
    PositionReader reader;
    EXPECT_EQ(reader.read(u, asObject(object))[slicecast::kBeat], 3.0);
    EXPECT_EQ(reader.read(u, asObject(object))[slicecast::kBeat], 3.0);
}

}  // namespace
