// The factory as a host sees it through the loaded module: one object, its class table, and
// instances of both classes.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/plugin/plugin_test_support.h"
#include "tools/vst3host/vst3_instance.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using tools::Vst3Instance;
using tools::Vst3Module;

std::unique_ptr<Vst3Module> loadModule() {
    std::string error;
    auto module = Vst3Module::load(bundlePath(), &error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

std::string utf8(const char16* text) {
    char buffer[256] = {};
    UString(const_cast<char16*>(text), 256).toAscii(buffer, sizeof(buffer));
    return buffer;
}

TEST(PluginFactory, OneFactoryObjectWithTwoClasses) {
    auto module = loadModule();
    ASSERT_NE(module, nullptr);
    auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(module->symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    IPluginFactory* first = getFactory();
    IPluginFactory* second = getFactory();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, module->factory());
    EXPECT_EQ(first->countClasses(), 2);
    first->release();
    second->release();
    // The module's own reference still holds the factory.
    EXPECT_EQ(module->factory()->countClasses(), 2);

    {
        FUnknownPtr<IPluginFactory2> factory2(module->factory());
        FUnknownPtr<IPluginFactory3> factory3(module->factory());
        EXPECT_TRUE(factory2);
        ASSERT_TRUE(factory3);
        EXPECT_EQ(factory3->setHostContext(module->hostContext()), kResultOk);
    }

    // Once the last reference is gone, the next GetPluginFactory builds a new, complete factory,
    // also while the module stays loaded in between.
    void* keepLoaded = dlopen(module->modulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(keepLoaded, nullptr);
    module.reset();
    module = loadModule();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->factory()->countClasses(), 2);
    PClassInfo info;
    EXPECT_EQ(module->factory()->getClassInfo(1, &info), kResultOk);
    EXPECT_STREQ(info.name, "Corvane Synth PCM Controller");
    module.reset();
    dlclose(keepLoaded);
}

TEST(PluginFactory, FactoryAndClassTable) {
    auto module = loadModule();
    ASSERT_NE(module, nullptr);
    IPluginFactory* factory = module->factory();

    PFactoryInfo info;
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Veltworks");
    EXPECT_EQ(std::string(info.url).rfind("https://", 0), 0u);
    EXPECT_STREQ(info.email, "");
    EXPECT_EQ(info.flags, 16);

    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    PClassInfo2 processor;
    PClassInfo2 controller;
    ASSERT_EQ(factory3->getClassInfo2(0, &processor), kResultOk);
    ASSERT_EQ(factory3->getClassInfo2(1, &controller), kResultOk);

    EXPECT_EQ(FUID::fromTUID(processor.cid), kProcessorId);
    EXPECT_EQ(processor.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(processor.category, "Audio Module Class");
    EXPECT_STREQ(processor.name, "Corvane Synth PCM");
    EXPECT_EQ(processor.classFlags, 1u);
    EXPECT_STREQ(processor.subCategories, "Instrument|Synth");
    EXPECT_STREQ(processor.vendor, "");
    EXPECT_STREQ(processor.version, "22.8.8");
    EXPECT_STREQ(processor.sdkVersion, "VST 3.7.3");

    EXPECT_EQ(FUID::fromTUID(controller.cid), kControllerId);
    EXPECT_EQ(controller.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(controller.category, "Component Controller Class");
    EXPECT_STREQ(controller.name, "Corvane Synth PCM Controller");
    EXPECT_EQ(controller.classFlags, 0u);
    EXPECT_STREQ(controller.subCategories, "");
    EXPECT_STREQ(controller.vendor, "");
    EXPECT_STREQ(controller.version, "22.8.8");
    EXPECT_STREQ(controller.sdkVersion, "VST 3.7.3");

    // The older and the Unicode forms of the same entries.
    PClassInfo basic;
    ASSERT_EQ(factory->getClassInfo(1, &basic), kResultOk);
    EXPECT_EQ(FUID::fromTUID(basic.cid), kControllerId);
    EXPECT_EQ(basic.cardinality, 0x7FFFFFFF);
    EXPECT_STREQ(basic.category, "Component Controller Class");
    EXPECT_STREQ(basic.name, "Corvane Synth PCM Controller");
    PClassInfoW wide;
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(FUID::fromTUID(wide.cid), kProcessorId);
    EXPECT_STREQ(wide.category, "Audio Module Class");
    EXPECT_EQ(utf8(wide.name), "Corvane Synth PCM");
    EXPECT_STREQ(wide.subCategories, "Instrument|Synth");
    EXPECT_EQ(wide.classFlags, 1u);
    EXPECT_EQ(utf8(wide.version), "22.8.8");
    EXPECT_EQ(utf8(wide.sdkVersion), "VST 3.7.3");

    for (int32 index : {-1, 2}) {
        EXPECT_EQ(factory->getClassInfo(index, &basic), kInvalidArgument);
        EXPECT_EQ(factory3->getClassInfo2(index, &processor), kInvalidArgument);
        EXPECT_EQ(factory3->getClassInfoUnicode(index, &wide), kInvalidArgument);
    }
    EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);
}

TEST(PluginFactory, CreatesProcessorAndController) {
    auto module = loadModule();
    ASSERT_NE(module, nullptr);
    IPluginFactory* factory = module->factory();

    auto component = createAs<IComponent>(factory, kProcessorId);
    ASSERT_TRUE(component);
    EXPECT_TRUE(FUnknownPtr<IAudioProcessor>(component));
    EXPECT_TRUE(FUnknownPtr<IProcessContextRequirements>(component));
    EXPECT_TRUE(FUnknownPtr<IConnectionPoint>(component));
    EXPECT_FALSE(FUnknownPtr<IEditController>(component));
    TUID named;
    ASSERT_EQ(component->getControllerClassId(named), kResultOk);
    EXPECT_EQ(FUID::fromTUID(named), kControllerId);

    // The create function hands the processor out as IAudioProcessor.
    auto processor = createAs<IAudioProcessor>(factory, kProcessorId);
    ASSERT_TRUE(processor);
    EXPECT_NE(FUnknownPtr<IComponent>(processor).getInterface(), component.get());

    auto controller = createAs<IEditController>(factory, kControllerId);
    ASSERT_TRUE(controller);
    EXPECT_TRUE(FUnknownPtr<IEditController2>(controller));
    EXPECT_TRUE(FUnknownPtr<IUnitInfo>(controller));
    EXPECT_TRUE(FUnknownPtr<IConnectionPoint>(controller));
    EXPECT_FALSE(FUnknownPtr<IComponent>(controller));
    auto secondController = createAs<IEditController>(factory, kControllerId);
    ASSERT_TRUE(secondController);
    EXPECT_NE(secondController.get(), controller.get());

    // Wrong interface, unknown class, missing arguments.
    TUID processorId;
    kProcessorId.toTUID(processorId);
    TUID unknownId;
    FUID(0x01234567, 0x89ABCDEF, 0x01234567, 0x89ABCDEF).toTUID(unknownId);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->createInstance(processorId, IEditController::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->createInstance(unknownId, IComponent::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->createInstance(processorId, IComponent::iid, nullptr), kInvalidArgument);
    EXPECT_EQ(factory->createInstance(nullptr, IComponent::iid, &object), kInvalidArgument);
    EXPECT_EQ(object, nullptr);
}

TEST(PluginFactory, HostCreatesAConnectedPair) {
    auto module = loadModule();
    ASSERT_NE(module, nullptr);
    std::string error;
    auto first = Vst3Instance::create(*module, &error);
    ASSERT_NE(first, nullptr) << error;
    auto second = Vst3Instance::create(*module, &error);
    ASSERT_NE(second, nullptr) << error;
    EXPECT_TRUE(first->connected());
    EXPECT_NE(first->component(), second->component());
    EXPECT_NE(first->controller(), second->controller());
    EXPECT_EQ(FUnknownPtr<IAudioProcessor>(first->component()).getInterface(), first->processor());

    // What every processor inherits from its audio-effect base.
    IAudioProcessor* processor = first->processor();
    EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultFalse);
    EXPECT_EQ(processor->getLatencySamples(), 0u);
    EXPECT_EQ(processor->getTailSamples(), 0u);
    ProcessSetup setup{kRealtime, kSample64, 512, 48000.0};
    EXPECT_EQ(processor->setupProcessing(setup), kResultFalse);
    setup.symbolicSampleSize = kSample32;
    EXPECT_EQ(processor->setupProcessing(setup), kResultOk);
    FUnknownPtr<IProcessContextRequirements> requirements(first->component());
    ASSERT_TRUE(requirements);
    EXPECT_EQ(requirements->getProcessContextRequirements(), 0u);

    // Not sharing anything: the second pair goes away and the first one still answers.
    second.reset();
    TUID named;
    EXPECT_EQ(first->component()->getControllerClassId(named), kResultOk);
    EXPECT_EQ(FUID::fromTUID(named), kControllerId);
}

}  // namespace
}  // namespace velt::corvane::test
