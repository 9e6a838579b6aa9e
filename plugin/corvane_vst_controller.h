// The instrument's edit controller: the MIDI-mapped parameters, their units and the editor slot.
#pragma once

#include <array>
#include <string>

#include "host/editor_link.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace velt::corvane::host {
class EngineDisplay;
}  // namespace velt::corvane::host

namespace Steinberg {
namespace Vst {

class CorvaneVSTGUIEditor;

class CorvaneVSTController : public EditControllerEx1,
                             public IMidiMapping,
                             public velt::corvane::host::ProgramNameWatcher {
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

    /// Controllers 0 to 127, pitch bend (129) and program change (130) on channel & 15 map to
    /// their MIDI parameter id (any bus); any number without a parameter gives kResultFalse.
    tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                   CtrlNumber midiControllerNumber, ParamID& id) override;

    /// The processor's messages for the editor, and the engine address for the program names.
    tresult PLUGIN_API notify(IMessage* message) override;
    /// The engine address is meaningless once the processor is gone.
    tresult PLUGIN_API disconnect(IConnectionPoint* other) override;
    tresult PLUGIN_API terminate() override;

    /// One program list per channel, each the 128 tone presets by number and name.
    int32 PLUGIN_API getProgramListCount() override;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) override;
    tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) override;
    /// Compares the tone names with those last listed and tells the host when they changed.
    void checkProgramNames() override;
    /// After a restore while audio runs, the restored tone names stand in the program lists
    /// at once, before the audio thread has applied them; then the base's answer.
    tresult PLUGIN_API setComponentState(IBStream* state) override;

    /// The editor view for the name "editor"; null for any other name (and, until the editor
    /// exists, for "editor" too).
    IPlugView* PLUGIN_API createView(FIDString name) override;
    /// Forgets the current editor.
    void editorDestroyed(EditorView* editor) override;
    /// A view the host attaches (again) becomes the current editor: it gets the engine and
    /// is refreshed, since what it missed while removed did not reach it.
    void editorAttached(EditorView* editor) override;
    /// Forgets the current editor until it is attached again; it keeps no engine address
    /// meanwhile, as the processor may go while no window shows it.
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
    void readToneNames(std::array<std::array<char, 17>, 128>& names);
    /// "Processor:setState": the restore's edits may still wait for the audio thread.
    void noteRestore();
    /// The tone names a restore's chunk gives, over those the view holds now.
    bool readRestoredNames(IBStream* state, std::array<std::array<char, 17>, 128>& names);
    void forgetEditor(EditorView* editor);

    CorvaneVSTGUIEditor* editor_ = nullptr;
    velt::corvane::host::EditorLink* editorLink_ = nullptr;
    /// The processor's engine (same process only), from its "cvset" attributes.
    velt::corvane::host::EngineDisplay* engine_ = nullptr;
    /// Tone names as the host last saw them in the program lists.
    std::array<std::array<char, 17>, 128> listedNames_{};
    bool namesListed_ = false;
    /// A restore was announced while audio ran, and its chunk has not been seen yet.
    bool restorePending_ = false;
    /// The view's edit count when that restore was submitted: until the view passes it, the
    /// restored names are what the lists show.
    uint64 restoreMark_ = 0;
    bool namesRestored_ = false;
    std::array<std::array<char, 17>, 128> restoredNames_{};
};

}  // namespace Vst
}  // namespace Steinberg
