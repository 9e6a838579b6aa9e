// The bundle's moduleinfo.json against the factory of the same bundle, loaded as a host loads it:
// every field a host may read without loading the module must say what loading it would say.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "pluginterfaces/base/ipluginbase.h"
#include "tests/package/relaxed_json.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using tools::Vst3Module;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string cidText(const TUID cid) {
    std::string out;
    for (int i = 0; i < 16; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02X", static_cast<unsigned char>(cid[i]));
        out += digits;
    }
    return out;
}

std::set<std::string> keysOf(const JsonValue& object) {
    std::set<std::string> keys;
    for (const auto& member : object.members) keys.insert(member.first);
    return keys;
}

// The member must exist with the given kind; a failed check stops the caller's test.
const JsonValue& member(const JsonValue& object, const std::string& key, JsonValue::Kind kind) {
    static const JsonValue missing;
    const JsonValue* found = object.find(key);
    EXPECT_NE(found, nullptr) << "no \"" << key << "\"";
    if (!found) return missing;
    EXPECT_EQ(found->kind, kind) << "\"" << key << "\" has the wrong type";
    return *found;
}

std::string joined(const JsonValue& list) {
    std::string out;
    for (const JsonValue& item : list.items) {
        EXPECT_EQ(item.kind, JsonValue::Kind::String);
        if (!out.empty()) out += '|';
        out += item.text;
    }
    return out;
}

TEST(ModuleInfo, EveryFieldIsWhatTheLoadedFactoryReports) {
    const std::string bundle = CORVANE_BUNDLE_PATH;
    JsonValue info;
    std::string error;
    ASSERT_TRUE(parseRelaxedJson(readFile(bundle + "/Contents/Resources/moduleinfo.json"), info, error))
        << error;
    ASSERT_EQ(info.kind, JsonValue::Kind::Object);
    EXPECT_EQ(keysOf(info),
              (std::set<std::string>{"Name", "Version", "Factory Info", "Compatibility", "Classes"}));

    auto module = Vst3Module::load(bundle, &error);
    ASSERT_NE(module, nullptr) << error;
    FUnknownPtr<IPluginFactory2> factory(module->factory());
    ASSERT_TRUE(factory);

    // The module's name is its bundle's, and its version the one its classes declare.
    const std::string bundleFile = bundle.substr(bundle.rfind('/') + 1);
    EXPECT_EQ(member(info, "Name", JsonValue::Kind::String).text,
              bundleFile.substr(0, bundleFile.size() - std::string(".vst3").size()));

    PFactoryInfo factoryInfo;
    ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kResultOk);
    const JsonValue& factoryJson = member(info, "Factory Info", JsonValue::Kind::Object);
    EXPECT_EQ(keysOf(factoryJson), (std::set<std::string>{"Vendor", "URL", "E-Mail", "Flags"}));
    EXPECT_EQ(member(factoryJson, "Vendor", JsonValue::Kind::String).text, factoryInfo.vendor);
    EXPECT_EQ(member(factoryJson, "URL", JsonValue::Kind::String).text, factoryInfo.url);
    EXPECT_EQ(member(factoryJson, "E-Mail", JsonValue::Kind::String).text, factoryInfo.email);
    const JsonValue& flags = member(factoryJson, "Flags", JsonValue::Kind::Object);
    EXPECT_EQ(keysOf(flags),
              (std::set<std::string>{"Unicode", "Classes Discardable", "Component Non Discardable"}));
    EXPECT_EQ(member(flags, "Unicode", JsonValue::Kind::Bool).boolean,
              (factoryInfo.flags & PFactoryInfo::kUnicode) != 0);
    EXPECT_EQ(member(flags, "Classes Discardable", JsonValue::Kind::Bool).boolean,
              (factoryInfo.flags & PFactoryInfo::kClassesDiscardable) != 0);
    EXPECT_EQ(member(flags, "Component Non Discardable", JsonValue::Kind::Bool).boolean,
              (factoryInfo.flags & PFactoryInfo::kComponentNonDiscardable) != 0);
    // No flag the file cannot express.
    EXPECT_EQ(factoryInfo.flags & ~(PFactoryInfo::kUnicode | PFactoryInfo::kClassesDiscardable |
                                    PFactoryInfo::kComponentNonDiscardable),
              0);

    EXPECT_TRUE(member(info, "Compatibility", JsonValue::Kind::Array).items.empty());

    const JsonValue& classes = member(info, "Classes", JsonValue::Kind::Array);
    ASSERT_EQ(static_cast<int32>(classes.items.size()), factory->countClasses());
    for (int32 i = 0; i < factory->countClasses(); ++i) {
        SCOPED_TRACE("class " + std::to_string(i));
        PClassInfo2 expected;
        ASSERT_EQ(factory->getClassInfo2(i, &expected), kResultOk);
        const JsonValue& entry = classes.items[i];
        ASSERT_EQ(entry.kind, JsonValue::Kind::Object);
        EXPECT_EQ(keysOf(entry),
                  (std::set<std::string>{"CID", "Category", "Name", "Vendor", "Version", "SDKVersion",
                                         "Sub Categories", "Class Flags", "Cardinality", "Snapshots"}));
        EXPECT_EQ(member(entry, "CID", JsonValue::Kind::String).text, cidText(expected.cid));
        EXPECT_EQ(member(entry, "Category", JsonValue::Kind::String).text, expected.category);
        EXPECT_EQ(member(entry, "Name", JsonValue::Kind::String).text, expected.name);
        EXPECT_EQ(member(entry, "Vendor", JsonValue::Kind::String).text, expected.vendor);
        EXPECT_EQ(member(entry, "Version", JsonValue::Kind::String).text, expected.version);
        EXPECT_EQ(member(entry, "SDKVersion", JsonValue::Kind::String).text, expected.sdkVersion);
        EXPECT_EQ(joined(member(entry, "Sub Categories", JsonValue::Kind::Array)), expected.subCategories);
        EXPECT_EQ(member(entry, "Class Flags", JsonValue::Kind::Number).number, expected.classFlags);
        EXPECT_EQ(member(entry, "Cardinality", JsonValue::Kind::Number).number, expected.cardinality);
        EXPECT_TRUE(member(entry, "Snapshots", JsonValue::Kind::Array).items.empty());
        // The module's version is the one its classes carry.
        EXPECT_EQ(member(info, "Version", JsonValue::Kind::String).text, expected.version);
    }
}

TEST(ModuleInfo, ReaderAcceptsWhatHostsAcceptAndRejectsBrokenText) {
    JsonValue value;
    std::string error;
    ASSERT_TRUE(
        parseRelaxedJson("{ // note\n \"a\": [1, \"x\\\"y\", true, ], /* c */ \"b\": {}, }", value, error))
        << error;
    ASSERT_EQ(value.members.size(), 2u);
    EXPECT_EQ(value.find("a")->items.size(), 3u);
    EXPECT_EQ(value.find("a")->items[1].text, "x\"y");
    for (const char* broken : {"{\"a\": 1", "{\"a\" 1}", "[1 2]", "{\"a\": tru}", "{} x", "\"open"}) {
        EXPECT_FALSE(parseRelaxedJson(broken, value, error)) << broken;
    }
}

}  // namespace
}  // namespace velt::corvane::test
