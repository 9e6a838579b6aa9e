// The instrument's edit controller: the MIDI-mapped parameters, their units and the editor slot.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class CorvaneVSTGUIEditor;

class CorvaneVSTController : public EditControllerEx1, public IMidiMapping {
public:
    CorvaneVSTController() = default;

    /// Factory create function: a new controller as IEditController, or null when out of memory.
    static FUnknown* createInstance(void* context);

    /// Registers the units and the 2,081 parameters; kResultOk even when the base refuses
    /// (then nothing is registered). terminate (inherited) removes them again.
    tresult PLUGIN_API initialize(FUnknown* context) override;

    /// Parameter info by index; kResultFalse for an index outside the parameters.
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
    /// Unit info by index; kResultFalse for an index outside the units.
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) override;
    /// Event input bus 0 maps channel c to the "program" unit of c; anything else kResultFalse.
    tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                    UnitID& unitId) override;

    /// Controllers 0 to 130 on channel & 15 map to their MIDI parameter id (any bus);
    /// numbers above 130 give kResultFalse.
    tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                   CtrlNumber midiControllerNumber,
                                                   ParamID& id) override;

    /// The editor view for the name "editor"; null for any other name (and, until the editor
    /// exists, for "editor" too).
    IPlugView* PLUGIN_API createView(FIDString name) override;
    /// Forgets the current editor.
    void editorDestroyed(EditorView* editor) override;
    /// Forgets the current editor.
    void editorRemoved(EditorView* editor) override;

    /// The editor currently shown, not owned; null when there is none.
    CorvaneVSTGUIEditor* editor() const { return editor_; }

    OBJ_METHODS(CorvaneVSTController, EditControllerEx1)
    DEFINE_INTERFACES
        DEF_INTERFACE(IMidiMapping)
    END_DEFINE_INTERFACES(EditControllerEx1)
    REFCOUNT_METHODS(EditControllerEx1)

private:
    bool addUnitChecked(const char* name, UnitID unitId, ProgramListID programListId);
    bool addParameterChecked(const char* title, ParamID id, int32 stepCount, ParamValue defaultValue,
                             int32 flags, UnitID unitId);
    bool registerParameters();
    bool registerProgramChannel(int32 channel);

    CorvaneVSTGUIEditor* editor_ = nullptr;
};

}  // namespace Vst
}  // namespace Steinberg
