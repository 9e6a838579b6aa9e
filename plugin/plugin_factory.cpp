#include "plugin/plugin_factory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory* gPluginFactory = nullptr;

CPluginFactory::CPluginFactory(const PFactoryInfo& info)
    : factoryInfo_(info){FUNKNOWN_CTOR}

      CPluginFactory::~CPluginFactory() {
    if (gPluginFactory == this) gPluginFactory = nullptr;
}

IMPLEMENT_REFCOUNT(CPluginFactory)

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, IPluginFactory)
    QUERY_INTERFACE(iid, obj, IPluginFactory::iid, IPluginFactory)
    QUERY_INTERFACE(iid, obj, IPluginFactory2::iid, IPluginFactory2)
    QUERY_INTERFACE(iid, obj, IPluginFactory3::iid, IPluginFactory3)
    if (obj) *obj = nullptr;
    return kNoInterface;
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context) {
    if (!info || !createFunc || classCount_ >= kMaxClasses) return false;
    if (isClassRegistered(FUID::fromTUID(info->cid))) return false;
    ClassEntry& entry = classes_[classCount_];
    entry.info8 = *info;
    entry.info16.fromAscii(*info);
    entry.createFunc = createFunc;
    entry.context = context;
    ++classCount_;
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const {
    for (int32 i = 0; i < classCount_; ++i) {
        if (FUID::fromTUID(classes_[i].info8.cid) == cid) return true;
    }
    return false;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
    if (!info) return kInvalidArgument;
    *info = factoryInfo_;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() {
    return classCount_;
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
    if (!info || index < 0 || index >= classCount_) return kInvalidArgument;
    const PClassInfo2& source = classes_[index].info8;
    std::memcpy(info->cid, source.cid, sizeof(TUID));
    info->cardinality = source.cardinality;
    std::memcpy(info->category, source.category, sizeof(info->category));
    std::memcpy(info->name, source.name, sizeof(info->name));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
    if (!info || index < 0 || index >= classCount_) return kInvalidArgument;
    *info = classes_[index].info8;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    if (!info || index < 0 || index >= classCount_) return kInvalidArgument;
    *info = classes_[index].info16;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid) return kInvalidArgument;
    for (int32 i = 0; i < classCount_; ++i) {
        if (std::memcmp(classes_[i].info8.cid, cid, sizeof(TUID)) != 0) continue;
        FUnknown* instance = classes_[i].createFunc(classes_[i].context);
        if (!instance) return kOutOfMemory;
        // The caller keeps the reference queryInterface adds; the one from creation goes.
        const tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result == kResultOk) return kResultOk;
        *obj = nullptr;
        return kNoInterface;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* context) {
    hostContext_ = context;
    return kResultOk;
}

}  // namespace Steinberg
