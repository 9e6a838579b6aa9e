// The module's class factory: a fixed table of classes the host lists and creates.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

namespace Steinberg {

class CPluginFactory : public IPluginFactory3 {
public:
    /// Makes a new instance holding one reference for the caller, or returns null.
    using CreateFunction = FUnknown* (*)(void* context);
    /// Capacity of the class table.
    static constexpr int32 kMaxClasses = 8;

    /// Starts with an empty class table and one reference.
    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory();
    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;

    /// Appends a class; false when the table is full, an argument is null or the id is taken.
    bool registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);
    /// True when a class with this id is in the table.
    bool isClassRegistered(const FUID& cid) const;
    /// The context the host passed to setHostContext, or null.
    FUnknown* hostContext() const { return hostContext_; }

    DECLARE_FUNKNOWN_METHODS

    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
    int32 PLUGIN_API countClasses() override;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
    /// Creates the class cid and returns its interface iid in *obj; kNoInterface when either is unknown.
    tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) override;
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
    /// Keeps a reference to the host's context until the factory goes.
    tresult PLUGIN_API setHostContext(FUnknown* context) override;

private:
    struct ClassEntry {
        PClassInfo2 info8;
        PClassInfoW info16;
        CreateFunction createFunc = nullptr;
        void* context = nullptr;
    };

    PFactoryInfo factoryInfo_;
    ClassEntry classes_[kMaxClasses];
    int32 classCount_ = 0;
    IPtr<FUnknown> hostContext_;
};

/// The module's single factory while it exists; the factory's destructor clears it.
extern CPluginFactory* gPluginFactory;

}  // namespace Steinberg
