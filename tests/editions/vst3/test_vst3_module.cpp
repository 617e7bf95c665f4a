// What a VST 3 host learns of the module before it plays anything: the
// factory and its two classes, the bundle's moduleinfo.json, and the
// objects' references and interfaces, queried as hosts query them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "vst3_test_host.h"

namespace {

using vst3test::Ref;

std::string hexOf(const vst3::Uid& id) {
    std::string hex;
    for (const std::uint32_t word : vst3::wordsOf(id)) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(word));
        hex += digits;
    }
    return hex;
}

std::u16string utf16(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

TEST(Vst3Module, TheFactoryNamesTheVendorAndListsTheProcessorAndItsController) {
    vst3::IPluginFactory3& factory = vst3test::slicecastFactory();
    vst3::PFactoryInfo info{};
    ASSERT_EQ(factory.getFactoryInfo(&info), vst3::kResultOk);
    EXPECT_STREQ(info.vendor, "J'x Tiv-nar");
    EXPECT_STREQ(info.url, "https://slicecast.tiv-nar.example/");
    EXPECT_STREQ(info.email, "slicecast@tiv-nar.example");
    EXPECT_EQ(info.flags, vst3::kUnicode);
    ASSERT_EQ(factory.countClasses(), 2);

    const struct {
        const char* category;
        const char* name;
        const char* subCategories;
    } classes[] = {{"Audio Module Class", "J'x Slicecast", "Fx|Delay"},
                   {"Component Controller Class", "J'x Slicecast Controller", ""}};
    for (vst3::int32 index = 0; index < 2; ++index) {
        vst3::PClassInfo plain{};
        vst3::PClassInfo2 second{};
        vst3::PClassInfoW wide{};
        ASSERT_EQ(factory.getClassInfo(index, &plain), vst3::kResultOk);
        ASSERT_EQ(factory.getClassInfo2(index, &second), vst3::kResultOk);
        ASSERT_EQ(factory.getClassInfoUnicode(index, &wide), vst3::kResultOk);
        EXPECT_STREQ(plain.category, classes[index].category);
        EXPECT_STREQ(plain.name, classes[index].name);
        EXPECT_EQ(plain.cardinality, vst3::kManyInstances);
        EXPECT_STREQ(second.subCategories, classes[index].subCategories);
        EXPECT_STREQ(second.vendor, "J'x Tiv-nar");
        EXPECT_STREQ(second.version, SLICECAST_VERSION);
        EXPECT_STREQ(second.sdkVersion, "VST 3.7.14");
        EXPECT_EQ(wide.name, utf16(classes[index].name));
        EXPECT_EQ(wide.vendor, utf16("J'x Tiv-nar"));
        EXPECT_EQ(wide.version, utf16(SLICECAST_VERSION));
        EXPECT_STREQ(wide.subCategories, classes[index].subCategories);
        EXPECT_EQ(0, std::memcmp(plain.cid, second.cid, 16));
        EXPECT_EQ(0, std::memcmp(plain.cid, wide.cid, 16));
    }
    EXPECT_NE(vst3test::classIdAt(0), vst3test::classIdAt(1));
    vst3::PClassInfo beyond{};
    EXPECT_EQ(factory.getClassInfo(2, &beyond), vst3::kInvalidArgument);
    EXPECT_EQ(factory.getClassInfoUnicode(-1, nullptr), vst3::kInvalidArgument);
}

TEST(Vst3Module, TheProcessorNamesItsControllerClass) {
    const auto component = vst3test::createInstance<vst3::IComponent>(vst3test::classIdAt(0));
    ASSERT_TRUE(component);
    vst3::TUID controller{};
    EXPECT_EQ(component->getControllerClassId(controller), vst3::kResultOk);
    EXPECT_EQ(vst3::uidFromBytes(controller), vst3test::classIdAt(1));
}

TEST(Vst3Module, TheBundlesModuleInfoListsWhatTheFactoryAnswers) {
    std::ifstream file(vst3test::slicecastBundlePath() + "/Contents/Resources/moduleinfo.json");
    ASSERT_TRUE(file) << "no moduleinfo.json in the bundle";
    const std::string json((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    vst3::PFactoryInfo factory{};
    vst3test::slicecastFactory().getFactoryInfo(&factory);
    EXPECT_NE(json.find("\"Name\": \"Slicecast\""), std::string::npos);
    for (const std::string& field :
         {"\"Vendor\": \"" + std::string(factory.vendor) + "\"", "\"URL\": \"" + std::string(factory.url) + "\"",
          "\"E-Mail\": \"" + std::string(factory.email) + "\"", std::string("\"Unicode\": true")})
        EXPECT_NE(json.find(field), std::string::npos) << field;

    for (vst3::int32 index = 0; index < 2; ++index) {
        vst3::PClassInfo2 info{};
        vst3test::slicecastFactory().getClassInfo2(index, &info);
        // Each class's fields follow its id, before the next class's id.
        const std::size_t start = json.find("\"CID\": \"" + hexOf(vst3::uidFromBytes(info.cid)) + "\"");
        ASSERT_NE(start, std::string::npos) << "class " << index;
        const std::string entry = json.substr(start, json.find("\"CID\"", start + 1) - start);
        std::string subCategories = std::string("[\"") + info.subCategories + "\"]";
        for (std::size_t bar; (bar = subCategories.find('|')) != std::string::npos;)
            subCategories.replace(bar, 1, "\", \"");
        for (const std::string& field :
             {"\"Category\": \"" + std::string(info.category) + "\"", "\"Name\": \"" + std::string(info.name) + "\"",
              "\"Version\": \"" + std::string(info.version) + "\"",
              "\"SDKVersion\": \"" + std::string(info.sdkVersion) + "\"",
              "\"Class Flags\": " + std::to_string(info.classFlags), std::string("\"Cardinality\": 2147483647")})
            EXPECT_NE(entry.find(field), std::string::npos) << "class " << index << ": " << field;
        if (info.subCategories[0] != '\0') {
            EXPECT_NE(entry.find("\"Sub Categories\": " + subCategories), std::string::npos) << subCategories;
        }
    }
}

TEST(Vst3Module, TheFactoryMakesOnlyItsClassesWithTheInterfacesTheyHave) {
    vst3::IPluginFactory3& factory = vst3test::slicecastFactory();
    const vst3::Uid unknown = vst3::uidOf(0x01234567, 0x89ABCDEF, 0x01234567, 0x89ABCDEF);
    const struct {
        const char* what;
        const vst3::Uid& classId;
        const vst3::Uid& interfaceId;
        vst3::tresult expected;
    } calls[] = {
        {"processor as IComponent", vst3test::classIdAt(0), vst3::IComponent::iid, vst3::kResultOk},
        {"processor as IAudioProcessor", vst3test::classIdAt(0), vst3::IAudioProcessor::iid, vst3::kResultOk},
        {"processor as IEditController", vst3test::classIdAt(0), vst3::IEditController::iid, vst3::kNoInterface},
        {"controller as IEditController", vst3test::classIdAt(1), vst3::IEditController::iid, vst3::kResultOk},
        {"controller as IComponent", vst3test::classIdAt(1), vst3::IComponent::iid, vst3::kNoInterface},
        {"an unknown class", unknown, vst3::FUnknown::iid, vst3::kNoInterface},
        {"the factory's interface id as a class", vst3::IPluginFactory::iid, vst3::FUnknown::iid, vst3::kNoInterface},
    };
    for (const auto& call : calls) {
        void* object = &factory;
        EXPECT_EQ(factory.createInstance(call.classId.data(), call.interfaceId.data(), &object), call.expected)
            << call.what;
        EXPECT_EQ(object == nullptr, call.expected != vst3::kResultOk) << call.what;
        // The one reference the caller holds is the last.
        if (object != nullptr) {
            EXPECT_EQ(static_cast<vst3::FUnknown*>(object)->release(), 0u) << call.what;
        }
    }
    EXPECT_EQ(factory.createInstance(vst3test::classIdAt(0).data(), vst3::IComponent::iid.data(), nullptr),
              vst3::kInvalidArgument);
}

TEST(Vst3Module, TheFactoryAnswersItsFourInterfacesAndOutlivesItsReferences) {
    vst3::IPluginFactory3& factory = vst3test::slicecastFactory();
    for (const vst3::Uid* id : {&vst3::FUnknown::iid, &vst3::IPluginFactory::iid, &vst3::IPluginFactory2::iid,
                                &vst3::IPluginFactory3::iid}) {
        void* object = nullptr;
        EXPECT_EQ(factory.queryInterface(id->data(), &object), vst3::kResultOk);
        EXPECT_EQ(object, static_cast<vst3::FUnknown*>(&factory));
        static_cast<vst3::FUnknown*>(object)->release();
    }
    void* object = &factory;
    EXPECT_EQ(factory.queryInterface(vst3::IComponent::iid.data(), &object), vst3::kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory.setHostContext(nullptr), vst3::kResultOk);
}

// The reference count a host sees after one more addRef and its release.
vst3::uint32 countOf(vst3::FUnknown& object) {
    object.addRef();
    return object.release();
}

struct Query {
    const char* name;
    const vst3::Uid& id;
    bool answered;
};

// Interfaces hosts ask for that this effect does not have.
const Query refusedByBoth[] = {
    {"IMidiMapping", vst3::kIMidiMappingIid, false},
    {"IMidiLearn", vst3::kIMidiLearnIid, false},
    {"INoteExpressionController", vst3::kINoteExpressionControllerIid, false},
    {"IKeyswitchController", vst3::kIKeyswitchControllerIid, false},
    {"IEditController2", vst3::kIEditController2Iid, false},
    {"IAudioPresentationLatency", vst3::kIAudioPresentationLatencyIid, false},
    {"IPlugView", vst3::kIPlugViewIid, false},
    {"IPluginFactory", vst3::IPluginFactory::iid, false},
};

template <std::size_t N>
void checkQueries(vst3::FUnknown& object, const Query (&own)[N]) {
    const vst3::uint32 before = countOf(object);
    const Ref<vst3::FUnknown> identity = vst3test::query<vst3::FUnknown>(&object);
    ASSERT_TRUE(identity);
    const auto check = [&](const Query& query) {
        void* answer = &object;
        const vst3::tresult result = object.queryInterface(query.id.data(), &answer);
        EXPECT_EQ(result, query.answered ? vst3::kResultOk : vst3::kNoInterface) << query.name;
        if (!query.answered) {
            EXPECT_EQ(answer, nullptr) << query.name;
            return;
        }
        // Each answer is one more reference, and leads back to the same
        // object whichever interface it is.
        ASSERT_NE(answer, nullptr) << query.name;
        auto* interface = static_cast<vst3::FUnknown*>(answer);
        EXPECT_EQ(countOf(*interface), before + 2) << query.name;
        EXPECT_EQ(vst3test::query<vst3::FUnknown>(interface).get(), identity.get()) << query.name;
        interface->release();
    };
    for (const Query& query : own) check(query);
    for (const Query& query : refusedByBoth) check(query);
    EXPECT_EQ(countOf(object), before + 1);
}

TEST(Vst3Module, TheProcessorAnswersItsInterfacesEachWithOneMoreReference) {
    const auto component = vst3test::createInstance<vst3::IComponent>(vst3test::classIdAt(0));
    ASSERT_TRUE(component);
    EXPECT_EQ(countOf(*component.get()), 1u) << "a new object holds the creator's reference alone";
    const Query queries[] = {
        {"FUnknown", vst3::FUnknown::iid, true},
        {"IPluginBase", vst3::IPluginBase::iid, true},
        {"IComponent", vst3::IComponent::iid, true},
        {"IAudioProcessor", vst3::IAudioProcessor::iid, true},
        {"IProcessContextRequirements", vst3::IProcessContextRequirements::iid, true},
        {"IConnectionPoint", vst3::IConnectionPoint::iid, true},
        {"IEditController", vst3::IEditController::iid, false},
        {"IUnitInfo", vst3::IUnitInfo::iid, false},
    };
    checkQueries(*component.get(), queries);
}

TEST(Vst3Module, TheControllerAnswersItsInterfacesEachWithOneMoreReference) {
    const auto controller = vst3test::createInstance<vst3::IEditController>(vst3test::classIdAt(1));
    ASSERT_TRUE(controller);
    EXPECT_EQ(countOf(*controller.get()), 1u);
    const Query queries[] = {
        {"FUnknown", vst3::FUnknown::iid, true},
        {"IPluginBase", vst3::IPluginBase::iid, true},
        {"IEditController", vst3::IEditController::iid, true},
        {"IConnectionPoint", vst3::IConnectionPoint::iid, true},
        {"IUnitInfo", vst3::IUnitInfo::iid, true},
        {"ITimerHandler", vst3::ITimerHandler::iid, true},
        {"IComponent", vst3::IComponent::iid, false},
        {"IAudioProcessor", vst3::IAudioProcessor::iid, false},
    };
    checkQueries(*controller.get(), queries);
}

TEST(Vst3Module, EachInterfacePointerIsTheOneItsMethodsWorkThrough) {
    // Calls that only the asked interface answers this way: a pointer not
    // adjusted to its base would call another interface's method.
    const auto component = vst3test::createInstance<vst3::IComponent>(vst3test::classIdAt(0));
    const auto processor = vst3test::query<vst3::IAudioProcessor>(component.get());
    const auto requirements = vst3test::query<vst3::IProcessContextRequirements>(component.get());
    const auto connection = vst3test::query<vst3::IConnectionPoint>(processor.get());
    ASSERT_TRUE(processor && requirements && connection);
    EXPECT_EQ(component->getBusCount(vst3::kAudio, vst3::kOutput), 1);
    EXPECT_EQ(processor->canProcessSampleSize(vst3::kSample32), vst3::kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(vst3::kSample64), vst3::kResultFalse);
    EXPECT_EQ(requirements->getProcessContextRequirements(), vst3::kNeedProjectTimeMusic | vst3::kNeedTempo);
    EXPECT_EQ(connection->disconnect(nullptr), vst3::kInvalidArgument);
}

TEST(Vst3Module, ConnectionsAreKeptUntilUndoneAndTerminateAndInitializeMayRepeat) {
    const auto component = vst3test::createInstance<vst3::IComponent>(vst3test::classIdAt(0));
    const auto controller = vst3test::createInstance<vst3::IEditController>(vst3test::classIdAt(1));
    const auto processorPoint = vst3test::query<vst3::IConnectionPoint>(component.get());
    const auto controllerPoint = vst3test::query<vst3::IConnectionPoint>(controller.get());
    const vst3::uint32 held = countOf(*controllerPoint.get());
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(component->initialize(nullptr), vst3::kResultOk);
        EXPECT_EQ(component->initialize(nullptr), vst3::kResultFalse) << "initialized twice";
        EXPECT_EQ(processorPoint->connect(controllerPoint.get()), vst3::kResultOk);
        EXPECT_EQ(countOf(*controllerPoint.get()), held + 1) << "the peer is kept";
        EXPECT_EQ(processorPoint->connect(controllerPoint.get()), vst3::kResultFalse) << "already connected";
        EXPECT_EQ(processorPoint->disconnect(processorPoint.get()), vst3::kInvalidArgument) << "not the peer";
        if (round == 0) {
            EXPECT_EQ(processorPoint->disconnect(controllerPoint.get()), vst3::kResultOk);
        }
        // The second round leaves the peer for terminate to give back.
        EXPECT_EQ(component->terminate(), vst3::kResultOk);
        EXPECT_EQ(countOf(*controllerPoint.get()), held);
    }
}

}  // namespace
