// The instrument's window: the synthesizer and part page on top, the tone or sampler page
// and the sample-data page below, and an about overlay until the processor has answered
// the opening handshake. It keeps no values of its own: it shows the engine holder's
// records and sends every edit to the processor as a message.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/vst3/vstguieditor.h"
#include "gui/vstgui.h"
#include "host/editor_link.h"
#include "host/editor_protocol.h"

namespace velt::corvane::host {
class EngineDisplay;
class ProgramNameWatcher;
}  // namespace velt::corvane::host

namespace Steinberg {
namespace Vst {

class CorvaneVSTGUIEditor : public VSTGUIEditor,
                            public VSTGUI::IControlListener,
                            public velt::corvane::host::EditorLink {
public:
    /// watcher (may be null) hears of tone names the editor may have changed.
    CorvaneVSTGUIEditor(EditController* controller, velt::corvane::host::ProgramNameWatcher* watcher);
    ~CorvaneVSTGUIEditor() override;

    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& platformType) override;
    void PLUGIN_API close() override;
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
    void valueChanged(VSTGUI::CControl* control) override;

    // EditorLink
    velt::corvane::host::EngineDisplay* engine() const override { return engine_; }
    void setEngine(velt::corvane::host::EngineDisplay* engine) override { engine_ = engine; }
    void refreshFromEngine() override;
    void updateValue(int32_t tag, float value) override;

    /// WAV files dragged onto the window: taken only when every one would import.
    bool canDropFiles(const std::vector<std::string>& paths) override;
    /// Imports them as PCM into the selected slot and those after it, as "Import WAV File" does.
    bool onDropFiles(const std::vector<std::string>& paths) override;

    /// The five refresh routines in order.
    void refreshAll();
    void refreshSystem();
    void refreshPart();
    void refreshTone();
    void refreshSampler();
    void refreshSample();
    /// Shows the tone or the sampler page after the selected part's mode.
    void choosePage();

    // For tests and tools: what is built.
    VSTGUI::CFrame* getFrame() const override { return frame; }
    VSTGUI::CControl* control(int32_t tag) const;
    VSTGUI::CViewContainer* topPage() const { return topPage_; }
    VSTGUI::CViewContainer* tonePage() const { return tonePage_; }
    VSTGUI::CViewContainer* samplerPage() const { return samplerPage_; }
    VSTGUI::CViewContainer* samplePage() const { return samplePage_; }
    VSTGUI::CViewContainer* aboutOverlay() const { return aboutOverlay_; }
    VSTGUI::COptionMenu* systemMenu() const { return systemMenu_; }
    VSTGUI::COptionMenu* polyphonyMenu() const { return polyphonyMenu_; }
    VSTGUI::COptionMenu* partMenu() const { return partMenu_; }
    VSTGUI::COptionMenu* outputMenu() const { return outputMenu_; }
    VSTGUI::COptionMenu* toneMenu() const { return toneMenu_; }
    VSTGUI::COptionMenu* samplerMenu() const { return samplerMenu_; }
    VSTGUI::COptionMenu* sampleMenu() const { return sampleMenu_; }
    VSTGUI::CTextLabel* sampleLabel(int32_t row) const { return sampleLabels_[row & 3]; }
    int32_t pendingFileRequest() const { return pendingFileRequest_; }

    /// Opens the file dialog of a file request code; other codes open nothing.
    void openFileDialog(int32_t request);

private:
    // Control factories.
    VSTGUI::CKickButton* makeMenuButton(VSTGUI::CViewContainer* into, int32_t tag, const VSTGUI::CRect& rect,
                                        const char* bitmap, VSTGUI::CCoord frameHeight);
    VSTGUI::COptionMenu* makePopupMenu(int32_t tag, int32_t style, std::initializer_list<const char*> titles);
    VSTGUI::CHorizontalSlider* makeSlider(VSTGUI::CViewContainer* into, int32_t tag, VSTGUI::CCoord x,
                                          VSTGUI::CCoord y, int32_t steps);
    VSTGUI::COptionMenu* makeChoice(VSTGUI::CViewContainer* into, int32_t tag, VSTGUI::CCoord x,
                                    VSTGUI::CCoord y, VSTGUI::CCoord labelWidth, VSTGUI::CCoord width,
                                    std::initializer_list<const char*> titles);
    VSTGUI::CTextLabel* makeLabel(VSTGUI::CViewContainer* into, VSTGUI::CCoord x, VSTGUI::CCoord y,
                                  VSTGUI::CCoord labelWidth, VSTGUI::CCoord width, const char* text);
    VSTGUI::CTextEdit* makeTextField(VSTGUI::CViewContainer* into, int32_t tag, VSTGUI::CCoord x,
                                     VSTGUI::CCoord y, VSTGUI::CCoord labelWidth, VSTGUI::CCoord width,
                                     const char* text);
    /// A slider with its mirror text field (labelWidth 96, width 64) on one row; a wheel step
    /// is one of the field's range.
    void makeSliderRow(VSTGUI::CViewContainer* into, const velt::corvane::host::protocol::Field& field,
                       VSTGUI::CCoord x, VSTGUI::CCoord y);
    /// The slider rows of a group's codes first to last in the table's order, one per line from
    /// (x, top), in one column or filling two columns line by line.
    void makeSliderRows(VSTGUI::CViewContainer* into, int32_t group, int32_t first, int32_t last,
                        VSTGUI::CCoord x, VSTGUI::CCoord top, int32_t columns);
    void keep(int32_t tag, VSTGUI::CControl* control);

    // Pages.
    void buildTopPage();
    void buildTonePage();
    void buildSamplerPage();
    void buildSamplePage();
    void buildAboutOverlay();
    void releaseMenus();

    // Handlers.
    void send(int32_t tag, double value);
    void sendFileRequest(int32_t code, const std::string& path);
    void sendNameChange(int32_t tag, const char (&name)[velt::corvane::host::protocol::kNameBytes]);
    void reportParameter(int32_t controllerNumber, double value);
    void onSystemOrPart(VSTGUI::CControl* control, int32_t group, int32_t item, float value);
    void onMenuChoice(VSTGUI::COptionMenu* menu);
    void onPresetControl(VSTGUI::CControl* control, int32_t group, int32_t item, float value);
    void onSampleControl(VSTGUI::CControl* control, int32_t item, float value);
    void onMirrorText(VSTGUI::CControl* control, int32_t group, int32_t item);
    void onNameField(VSTGUI::CControl* control);
    void finishFileDialog(VSTGUI::CNewFileSelector* selector);
    /// One WAV import request per file into consecutive slots from the selected one.
    void sendWavImports(int32_t code, const std::vector<std::string>& paths);

    // Refresh helpers.
    /// A slider row from the stored integer: the slider at value / range, the text less the
    /// field's display offset.
    void setSliderAndMirror(const velt::corvane::host::protocol::Field& field, int32_t value);
    void setText(int32_t tag, const std::string& text);
    void setNormalized(int32_t tag, float value);
    void setMenuCheck(int32_t index, bool checked);
    // One value the processor stored, by group.
    void updateSystemValue(int32_t item, float v);
    void updatePartValue(int32_t item, float v);
    void updatePresetValue(int32_t group, int32_t item, float v);
    void updateSampleValue(int32_t item, float v);
    /// The rows of a tone or sampler preset: the selection n, the name and the fields, whose
    /// values value(record) reads.
    template <typename FieldValue>
    void refreshPreset(int32_t group, int32_t n, const char* name, FieldValue value);

    velt::corvane::host::EngineDisplay* engine_ = nullptr;
    velt::corvane::host::ProgramNameWatcher* watcher_ = nullptr;

    VSTGUI::CViewContainer* topPage_ = nullptr;
    VSTGUI::CViewContainer* lowerArea_ = nullptr;
    VSTGUI::CViewContainer* tonePage_ = nullptr;
    VSTGUI::CViewContainer* samplerPage_ = nullptr;
    VSTGUI::CViewContainer* samplePage_ = nullptr;
    VSTGUI::CViewContainer* aboutOverlay_ = nullptr;
    VSTGUI::CKickButton* logoButton_ = nullptr;
    VSTGUI::CKickButton* libraryLogoButton_ = nullptr;

    VSTGUI::COptionMenu* systemMenu_ = nullptr;
    VSTGUI::COptionMenu* polyphonyMenu_ = nullptr;
    VSTGUI::COptionMenu* partMenu_ = nullptr;
    VSTGUI::COptionMenu* outputMenu_ = nullptr;
    VSTGUI::COptionMenu* toneMenu_ = nullptr;
    VSTGUI::COptionMenu* samplerMenu_ = nullptr;
    VSTGUI::COptionMenu* sampleMenu_ = nullptr;

    VSTGUI::CPoint systemMenuPoint_{8, 50};
    VSTGUI::CPoint partMenuPoint_{8, 120};
    VSTGUI::CPoint toneMenuPoint_{8, 264};
    VSTGUI::CPoint samplerMenuPoint_{8, 264};
    VSTGUI::CPoint sampleMenuPoint_{8, 480};

    std::unordered_map<int32_t, VSTGUI::CControl*> controls_;
    /// SAMPLE FRAMES, CHANNEL COUNT, LOOPABLE.
    std::array<VSTGUI::CTextLabel*, 4> sampleLabels_{};
    int32_t pendingFileRequest_ = 0;
};

}  // namespace Vst
}  // namespace Steinberg
