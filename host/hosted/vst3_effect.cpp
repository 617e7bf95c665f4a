#include "vst3_effect.h"

#include <charconv>

#include "exact_text.h"
#include "process_context.h"
#include "utf16_text.h"
#include "vst3_names.h"

namespace pluginhost {

namespace {

std::string hex(std::uint32_t bits) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof(text), bits, 16);
    return "0x" + std::string(text, result.ptr);
}

std::string classLine(const vst3host::ClassInfo& entry) {
    std::string line = entry.name + ", " + entry.category;
    if (!entry.subCategories.empty()) line += ", " + entry.subCategories;
    if (!entry.version.empty()) line += ", version " + entry.version;
    if (!entry.sdkVersion.empty()) line += ", " + entry.sdkVersion;
    return line + ", id " + vst3host::uidText(entry.id);
}

std::string busLine(const vst3::BusInfo& bus, std::optional<vst3::SpeakerArrangement> arrangement) {
    std::string line = vst3host::utf8Of(bus.name, vst3::kString128Size) + ", " + vst3host::busTypeName(bus.busType) +
                       ", " + std::to_string(bus.channelCount) + " channels";
    if (arrangement) line += ", " + vst3host::speakerArrangementName(*arrangement);
    if ((bus.flags & vst3::kDefaultActive) != 0) line += ", active by default";
    return line;
}

}  // namespace

Vst3Effect::Vst3Effect(const std::string& path)
    : module_(path), instance_(module_), changes_(vst3host::makeHostObject<vst3host::ParameterChanges>()) {
    for (std::int32_t index = 0; index < instance_.parameterCount(); ++index) {
        const auto parameter = instance_.parameterInfo(index);
        if (!parameter) throw HostError("the VST 3 controller gives no info of its parameter " + std::to_string(index));
        if ((parameter->flags & vst3::kIsProgramChange) != 0) {
            if (!program_) program_ = *parameter;
            continue;
        }
        parameters_.push_back(*parameter);
        values_.push_back(static_cast<float>(instance_.plainOf(parameter->id, instance_.normalized(parameter->id))));
        changed_.push_back(false);
    }
}

std::string Vst3Effect::identifier() { return vst3host::uidText(instance_.processorClass().id); }

std::int32_t Vst3Effect::channels(vst3::BusDirection direction) const {
    std::int32_t count = 0;
    for (const vst3::BusInfo& bus : instance_.buses(vst3::kAudio, direction)) count += bus.channelCount;
    return count;
}

std::vector<EffectFact> Vst3Effect::facts() {
    const vst3host::FactoryInfo factory = module_.factoryInfo();
    const vst3host::ClassInfo& processor = instance_.processorClass();
    std::vector<EffectFact> facts{
        {"Class id", vst3host::uidText(processor.id)},
        {"Name", processor.name},
        {"Vendor", factory.vendor},
        {"URL", factory.url},
        {"E-mail", factory.email},
        {"Factory flags",
         vst3host::factoryFlagNames(factory.flags) + " (" + hex(static_cast<std::uint32_t>(factory.flags)) + ")"},
    };
    const std::vector<vst3host::ClassInfo> classes = module_.classes();
    for (std::size_t i = 0; i < classes.size(); ++i)
        facts.push_back({"Class " + std::to_string(i), classLine(classes[i])});
    std::string controller = "none";
    if (instance_.singleComponent()) controller = "the processor itself";
    if (const auto id = instance_.controllerClass())
        controller = "class " + vst3host::uidText(*id) + (instance_.connected() ? ", connected" : ", not connected");
    facts.push_back({"Controller", controller});
    for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
        const std::vector<vst3::BusInfo> buses = instance_.buses(vst3::kAudio, direction);
        for (std::size_t i = 0; i < buses.size(); ++i) {
            facts.push_back({std::string(direction == vst3::kInput ? "Audio in " : "Audio out ") + std::to_string(i),
                             busLine(buses[i], instance_.busArrangement(direction, static_cast<vst3::int32>(i)))});
        }
    }
    facts.push_back({"Event buses", std::to_string(instance_.buses(vst3::kEvent, vst3::kInput).size()) + " in, " +
                                        std::to_string(instance_.buses(vst3::kEvent, vst3::kOutput).size()) + " out"});
    facts.push_back({"Context wanted", vst3host::contextRequirementNames(instance_.processContextRequirements())});
    facts.push_back({"Latency", std::to_string(instance_.latencySamples()) + " samples"});
    facts.push_back({"Tail", std::to_string(instance_.tailSamples()) + " samples"});
    std::vector<vst3::ParameterInfo> listed = parameters_;
    if (program_) listed.push_back(*program_);
    for (const vst3::ParameterInfo& parameter : listed) {
        const std::string units = vst3host::utf8Of(parameter.units, vst3::kString128Size);
        std::string line = vst3host::utf8Of(parameter.title, vst3::kString128Size) + ", " +
                           exactText(instance_.plainOf(parameter.id, 0.0)) + " to " +
                           exactText(instance_.plainOf(parameter.id, 1.0)) + (units.empty() ? "" : " " + units) +
                           ", default " + exactText(instance_.plainOf(parameter.id, parameter.defaultNormalizedValue));
        if (parameter.stepCount > 0) line += ", " + std::to_string(parameter.stepCount) + " steps";
        facts.push_back({"Parameter id " + std::to_string(parameter.id),
                         line + ", " + vst3host::parameterFlagNames(parameter.flags)});
    }
    return facts;
}

void Vst3Effect::requireRenderable(int channels) const {
    const auto stereo = [this](vst3::BusDirection direction) {
        const std::vector<vst3::BusInfo> buses = instance_.buses(vst3::kAudio, direction);
        return buses.size() == 1 && buses.front().channelCount == 2;
    };
    if (!stereo(vst3::kInput) || !stereo(vst3::kOutput) || channels < 1 || channels > 2) {
        throw HostError("the VST 3 plug-in has " + std::to_string(inputCount()) + " input and " +
                        std::to_string(outputCount()) +
                        " output channels; this host feeds VST 3 effects one stereo bus each way");
    }
}

void Vst3Effect::activate(double sampleRate, std::int32_t maxFrames) {
    // A stereo track asks for stereo buses; an effect that refuses keeps
    // its own, which must then be stereo too.
    instance_.setBusArrangements({vst3::speaker_arrangements::kStereo}, {vst3::speaker_arrangements::kStereo});
    for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
        const auto arrangement = instance_.busArrangement(direction, 0);
        if (arrangement && vst3::channelCountOf(*arrangement) != 2)
            throw HostError("the VST 3 plug-in keeps a bus of " + std::to_string(vst3::channelCountOf(*arrangement)) +
                            " channels where this host gives two");
    }
    instance_.start(sampleRate, maxFrames);
}

std::string Vst3Effect::parameterName(std::int32_t index) {
    return vst3host::utf8Of(info(index).title, vst3::kString128Size);
}

std::string Vst3Effect::parameterLabel(std::int32_t index) {
    return vst3host::utf8Of(info(index).units, vst3::kString128Size);
}

vst3::ParamValue Vst3Effect::normalizedOf(std::int32_t index, float plain) const {
    return instance_.normalizedOf(info(index).id, plain);
}

std::string Vst3Effect::parameterDisplay(std::int32_t index) {
    const float value = parameter(index);
    return instance_.text(info(index).id, normalizedOf(index, value)).value_or(exactText(value));
}

ParameterRange Vst3Effect::parameterRange(std::int32_t index) {
    const vst3::ParameterInfo& parameter = info(index);
    const auto minimum = static_cast<float>(instance_.plainOf(parameter.id, 0.0));
    const auto maximum = static_cast<float>(instance_.plainOf(parameter.id, 1.0));
    const bool stepped = parameter.stepCount > 0;
    // Discrete plain values are the first one plus the step.
    const bool wholeNumbers = stepped && maximum - minimum == static_cast<float>(parameter.stepCount);
    return {minimum, maximum, stepped, wholeNumbers};
}

void Vst3Effect::setParameter(std::int32_t index, float value) {
    values_.at(static_cast<std::size_t>(index)) = value;
    instance_.setNormalized(info(index).id, normalizedOf(index, value));
    // The last value set before a block is the one it gets.
    changed_.at(static_cast<std::size_t>(index)) = true;
}

std::optional<float> Vst3Effect::parameterFromText(std::int32_t index, std::string_view text) {
    const auto normalized = instance_.normalizedOfText(info(index).id, std::string(text));
    if (!normalized) return std::nullopt;
    return static_cast<float>(instance_.plainOf(info(index).id, *normalized));
}

void Vst3Effect::process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) {
    const vst3::ProcessContext context = vst3host::processContextOf(time);
    changes_->clear();
    // The program first, so that values set after it win at the same frame.
    if (programChange_) changes_->add(program_->id, 0, *programChange_);
    programChange_.reset();
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const auto index = static_cast<std::int32_t>(i);
        if (changed_[i]) changes_->add(parameters_[i].id, 0, normalizedOf(index, values_[i]));
        changed_[i] = false;
    }
    if (instance_.process({inputs, outputs, frames, &context, changes_.get()}) != vst3::kResultOk)
        throw HostError("the VST 3 plug-in failed to process a block");
}

std::string Vst3Effect::timeColumns() const { return "context_state,project_time_music,tempo,project_time_samples"; }

std::string Vst3Effect::timeFields(const BlockTime& told) const {
    const vst3::ProcessContext context = vst3host::processContextOf(told);
    return std::to_string(context.state) + ',' + exactText(context.projectTimeMusic) + ',' +
           exactText(context.tempo) + ',' + std::to_string(context.projectTimeSamples);
}

std::vector<std::string> Vst3Effect::presetNames() {
    if (!program_) return {};
    const std::optional<vst3host::ProgramList> list = instance_.programList(program_->unitId);
    return list ? list->programs : std::vector<std::string>{};
}

void Vst3Effect::loadPreset(std::int32_t index) {
    const std::vector<std::string> names = presetNames();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
        throw HostError("the VST 3 plug-in has no program " + std::to_string(index));
    const vst3::ParamValue value =
        program_->stepCount > 0 ? static_cast<double>(index) / static_cast<double>(program_->stepCount) : 0.0;
    instance_.setNormalized(program_->id, value);
    programChange_ = value;
    // The controller holds the program's values now, as the host reads
    // them again when the plug-in asks it to; the processor takes the
    // program itself, so nothing else waits to be sent.
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        values_[i] = static_cast<float>(instance_.plainOf(parameters_[i].id, instance_.normalized(parameters_[i].id)));
        changed_[i] = false;
    }
}

}  // namespace pluginhost
