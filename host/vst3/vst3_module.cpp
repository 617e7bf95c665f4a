#include "vst3_module.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "module_platform.h"
#include "utf16_text.h"

namespace vst3host {

namespace {

std::string binaryOf(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error) ? bundleBinary(path).string() : path;
}

// A text of a fixed-size field, up to its NUL or its end.
template <std::size_t size>
std::string fieldText(const char (&field)[size]) {
    return std::string(field, std::find(field, field + size, '\0'));
}

template <std::size_t size>
std::string fieldText(const vst3::char16 (&field)[size]) {
    return utf8Of(field, size);
}

}  // namespace

Vst3Module::Vst3Module(const std::string& path) : path_(path), library_(binaryOf(path)) {
    exit_ = enterModule(library_);
    try {
        const auto getFactory = reinterpret_cast<vst3::GetFactoryProc>(library_.symbol(vst3::kGetFactorySymbol));
        if (getFactory == nullptr) throw HostError("no VST 3 factory (GetPluginFactory) in " + library_.path());
        factory_ = Ref<vst3::IPluginFactory>::adopt(getFactory());
        if (!factory_) throw HostError("the VST 3 module gave no factory: " + library_.path());
    } catch (...) {
        if (exit_ != nullptr) exit_();
        throw;
    }
}

Vst3Module::~Vst3Module() {
    factory_.reset();
    if (exit_ != nullptr) exit_();
}

FactoryInfo Vst3Module::factoryInfo() const {
    vst3::PFactoryInfo info{};
    if (factory_->getFactoryInfo(&info) != vst3::kResultOk) throw HostError("the VST 3 factory gives no info");
    return {fieldText(info.vendor), fieldText(info.url), fieldText(info.email), info.flags};
}

std::vector<ClassInfo> Vst3Module::classes() const {
    const Ref<vst3::IPluginFactory2> second = queryOf<vst3::IPluginFactory2>(factory_.get());
    const Ref<vst3::IPluginFactory3> unicode = queryOf<vst3::IPluginFactory3>(factory_.get());
    std::vector<ClassInfo> found;
    const vst3::int32 count = factory_->countClasses();
    for (vst3::int32 index = 0; index < count; ++index) {
        ClassInfo entry;
        vst3::PClassInfoW wide{};
        vst3::PClassInfo2 info2{};
        vst3::PClassInfo info{};
        const auto common = [&entry](const auto& record) {
            std::memcpy(entry.id.bytes.data(), record.cid, sizeof record.cid);
            entry.cardinality = record.cardinality;
            entry.category = fieldText(record.category);
            entry.name = fieldText(record.name);
        };
        const auto extended = [&entry, &common](const auto& record) {
            common(record);
            entry.classFlags = record.classFlags;
            entry.subCategories = fieldText(record.subCategories);
            entry.vendor = fieldText(record.vendor);
            entry.version = fieldText(record.version);
            entry.sdkVersion = fieldText(record.sdkVersion);
        };
        if (unicode && unicode->getClassInfoUnicode(index, &wide) == vst3::kResultOk) {
            extended(wide);
        } else if (second && second->getClassInfo2(index, &info2) == vst3::kResultOk) {
            extended(info2);
        } else if (factory_->getClassInfo(index, &info) == vst3::kResultOk) {
            common(info);
        } else {
            throw HostError("the VST 3 factory gives no info of its class " + std::to_string(index));
        }
        found.push_back(entry);
    }
    return found;
}

std::optional<ClassInfo> Vst3Module::firstClassOf(const std::string& category) const {
    for (const ClassInfo& entry : classes()) {
        if (entry.category == category) return entry;
    }
    return std::nullopt;
}

}  // namespace vst3host
