#include "plugin/corvane_vst_controller.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "editor/corvane_vstgui_editor.h"
#include "plugin/parameter_ids.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "synth/core/engine_limits.h"

namespace Steinberg {
namespace Vst {

namespace {

namespace ids = velt::corvane::plugin;

// Every parameter shows this units text.
constexpr const char* kUnitsText = "...";
// The controller whose default is centred: pan.
constexpr int32 kPanController = 10;
constexpr int32 kMidiParamFlags = ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden;
// Not read-only: a host's program selector writes this parameter, and the processor turns
// the value into the channel's program change.
constexpr int32 kProgramParamFlags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsHidden;

}  // namespace

FUnknown* CorvaneVSTController::createInstance(void* /*context*/) {
    return static_cast<IEditController*>(new (std::nothrow) CorvaneVSTController);
}

tresult PLUGIN_API CorvaneVSTController::initialize(FUnknown* context) {
    if (EditControllerEx1::initialize(context) != kResultOk) return kResultOk;
    if (!registerParameters()) {
        parameters.removeAll();
        units.clear();
        return kOutOfMemory;
    }
    return kResultOk;
}

bool CorvaneVSTController::addUnitChecked(const char* name, UnitID unitId, ProgramListID programListId) {
    const UnitID parent = unitId == kRootUnitId ? kNoParentUnitId : kRootUnitId;
    Unit* unit = new (std::nothrow) Unit(UString128(name), unitId, parent, programListId);
    return unit && addUnit(unit);
}

bool CorvaneVSTController::addParameterChecked(const char* title, ParamID id, int32 stepCount,
                                               ParamValue defaultValue, int32 flags, UnitID unitId) {
    Parameter* parameter = new (std::nothrow)
        Parameter(UString128(title), id, UString128(kUnitsText), defaultValue, stepCount, flags, unitId);
    return parameter && parameters.addParameter(parameter);
}

bool CorvaneVSTController::registerParameters() {
    using velt::corvane::kControllerCount;
    using velt::corvane::kPartCount;

    // Channels 0 to 15 each carry 128 controllers, pitch bend and program change.
    parameters.init(1 + kPartCount * (kControllerCount + 2));
    if (!addUnitChecked("Root", kRootUnitId, kNoProgramListId)) return false;
    if (!addParameterChecked("bypass", ids::kBypassId, 1, 0.0, ParameterInfo::kIsBypass, kRootUnitId))
        return false;
    if (!addUnitChecked("MIDI Contloller", ids::kMidiControllerUnitId, kNoProgramListId)) return false;

    char title[32];
    for (int32 channel = 0; channel < kPartCount; ++channel) {
        for (int32 n = 0; n < kControllerCount; ++n) {
            std::snprintf(title, sizeof(title), "CC : %d", static_cast<int>(n));
            const ParamValue defaultValue = n == kPanController ? 0.5 : 0.0;
            // 128 steps (16384 for pitch bend below) rather than 127 and 16383, on purpose:
            // these ranges are part of what hosts have already stored.
            if (!addParameterChecked(title, ids::midiParamId(channel, n), kControllerCount, defaultValue,
                                     kMidiParamFlags, ids::kMidiControllerUnitId))
                return false;
        }
    }
    for (int32 channel = 0; channel < kPartCount; ++channel) {
        if (!addParameterChecked("Pitchbend", ids::midiParamId(channel, ids::kPitchBendNumber), 16384, 0.5,
                                 kMidiParamFlags, ids::kMidiControllerUnitId))
            return false;
    }
    for (int32 channel = 0; channel < kPartCount; ++channel) {
        if (!registerProgramChannel(channel)) return false;
    }
    return true;
}

bool CorvaneVSTController::registerProgramChannel(int32 channel) {
    // The unit names a program list of the same id; the list object itself is added here once
    // the tone preset names are listed.
    const int32 unitId = ids::programUnitId(channel);
    if (!addUnitChecked("program", unitId, unitId)) return false;
    const ParamID id = ids::midiParamId(channel, ids::kProgramChangeNumber);
    char title[32];
    std::snprintf(title, sizeof(title), "%u", static_cast<unsigned>(id));
    return addParameterChecked(title, id, 127, 0.0, kProgramParamFlags, unitId);
}

tresult PLUGIN_API CorvaneVSTController::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount()) return kResultFalse;
    return EditControllerEx1::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API CorvaneVSTController::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex < 0 || unitIndex >= getUnitCount()) return kResultFalse;
    return EditControllerEx1::getUnitInfo(unitIndex, info);
}

tresult PLUGIN_API CorvaneVSTController::getUnitByBus(MediaType type, BusDirection dir, int32 busIndex,
                                                      int32 channel, UnitID& unitId) {
    if (type != kEvent || dir != kInput || busIndex != 0) return kResultFalse;
    unitId = ids::programUnitId(channel);
    return kResultOk;
}

tresult PLUGIN_API CorvaneVSTController::getMidiControllerAssignment(int32 /*busIndex*/, int16 channel,
                                                                     CtrlNumber midiControllerNumber,
                                                                     ParamID& id) {
    // A negative number is no controller at all; it would map outside the id scheme.
    if (midiControllerNumber > ids::kProgramChangeNumber || midiControllerNumber < 0) return kResultFalse;
    // Hosts drop a mapping whose id names no parameter, or refuse the plug-in: aftertouch
    // (128) has none, and after terminate nothing has.
    const ParamID mapped = ids::midiParamId(channel, midiControllerNumber);
    if (!getParameterObject(mapped)) return kResultFalse;
    id = mapped;
    return kResultOk;
}

IPlugView* PLUGIN_API CorvaneVSTController::createView(FIDString name) {
    if (!name || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
    auto* editor = new (std::nothrow) CorvaneVSTGUIEditor(this, this);
    if (!editor) return nullptr;
    // A view opened again later gets the engine at once, as the handshake would give it.
    editor->setEngine(engine_);
    editor_ = editor;
    editorLink_ = editor;
    return editor;
}

void CorvaneVSTController::editorDestroyed(EditorView* editor) {
    forgetEditor(editor);
}

void CorvaneVSTController::editorAttached(EditorView* editor) {
    if (!editor) return;
    // Every view this controller creates is the instrument's editor.
    auto* view = static_cast<CorvaneVSTGUIEditor*>(editor);
    if (view == editor_) return;
    editor_ = view;
    editorLink_ = view;
    view->setEngine(engine_);
    if (engine_) view->refreshFromEngine();
}

void CorvaneVSTController::editorRemoved(EditorView* editor) {
    if (editor && editor == static_cast<EditorView*>(editor_)) editor_->setEngine(nullptr);
    forgetEditor(editor);
}

void CorvaneVSTController::forgetEditor(EditorView* editor) {
    // Only the current editor is forgotten: an older view closing late leaves the new one.
    if (editor && editor != static_cast<EditorView*>(editor_)) return;
    editor_ = nullptr;
    editorLink_ = nullptr;
}

}  // namespace Vst
}  // namespace Steinberg
