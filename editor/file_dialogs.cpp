// The editor's file dialogs: which dialog each request opens, and how its result becomes
// file requests to the processor. Dialogs run without blocking the host; only the last
// one opened counts when it ends.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/corvane_vstgui_editor.h"
#include "host/editor_protocol.h"
#include "host/engine_display.h"
#include "synth/pcm/sample_import.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace protocol = velt::corvane::host::protocol;

namespace {

struct DialogKind {
    int32_t request;
    bool save;
    bool multiple;
    const char* title;
    const char* defaultName;  ///< exports only
    int32_t extensions;       ///< 0 presets, 1 sample data, 2 WAV, 3 text export
};

constexpr DialogKind kDialogs[] = {
    {protocol::kRequestImportTones, false, false, "Import TonePreset Parameters File", nullptr, 0},
    {protocol::kRequestImportSamplers, false, false, "Import SamplerPreset Parameters File", nullptr, 0},
    {protocol::kRequestImportSampleData, false, false, "Import SampleData Paarmeters File", nullptr, 1},
    {protocol::kRequestImportWav, false, true, "Import WAV File", nullptr, 2},
    {protocol::kRequestImportWavDpcm, false, true, "Import WAV File", nullptr, 2},
    {protocol::kRequestImportWavAdpcm, false, true, "Import WAV File", nullptr, 2},
    {protocol::kRequestExportTones, true, false, "Export TonePreset Parameters File", "TonePresets.txt", 3},
    {protocol::kRequestExportSamplers, true, false, "Export SamplerPreset Parameters File",
     "SamplerPresets.txt", 3},
    {protocol::kRequestExportToneSysEx, true, false, "Export TonePreset SystemExclusives",
     "TonePresetSysEx.txt", 3},
    {protocol::kRequestExportSamplerSysEx, true, false, "Export SamplerPreset SystemExclusives",
     "SamplerPresetSysEx.txt", 3},
    {protocol::kRequestExportSampleData, true, false, "Export SampleData Parameters File",
     "SampleDataParameters.txt", 3},
};

void addExtensions(CNewFileSelector* selector, int32_t set) {
    switch (set) {
        case 0:
            selector->addFileExtension(CFileExtension("cvx files(.cvx)", "cvx", "", 0));
            selector->addFileExtension(CFileExtension("text files(.txt)", "txt", "", 0));
            selector->addFileExtension(CFileExtension("text files(.csv)", "csv", "", 0));
            break;
        case 1:
            selector->addFileExtension(CFileExtension("cvx files(.cvx)", "cvx", "", 0));
            selector->addFileExtension(CFileExtension("text files(.txt)", "txt", "", 0));
            selector->addFileExtension(CFileExtension("csv files(.csv)", "csv", "", 0));
            break;
        case 2: selector->addFileExtension(CFileExtension("WAV Files(.wav)", "wav", "", 0)); break;
        default: selector->addFileExtension(CFileExtension("text file(.txt)", "txt", "", 0)); break;
    }
}

}  // namespace

void CorvaneVSTGUIEditor::openFileDialog(int32_t request) {
    pendingFileRequest_ = 0;
    const DialogKind* kind = nullptr;
    for (const DialogKind& k : kDialogs)
        if (k.request == request) kind = &k;
    if (!kind || !frame) return;
    CNewFileSelector* selector = CNewFileSelector::create(
        frame, kind->save ? CNewFileSelector::kSelectSaveFile : CNewFileSelector::kSelectFile);
    if (!selector) return;
    pendingFileRequest_ = request;
    if (!kind->save) selector->setAllowMultiFileSelection(kind->multiple);
    selector->setTitle(kind->title);
    addExtensions(selector, kind->extensions);
    if (kind->save) selector->setDefaultSaveName(kind->defaultName);
    // No field may keep the keyboard while the dialog is up.
    frame->setFocusView(nullptr);
    // Without a dialog program nothing opens, and nothing is waited for.
    if (!selector->run(this)) pendingFileRequest_ = 0;
    selector->forget();
}

void CorvaneVSTGUIEditor::finishFileDialog(CNewFileSelector* selector) {
    const int32_t code = pendingFileRequest_;
    const uint32_t n = selector->getNumSelectedFiles();
    if (engine_ && (code & protocol::kRequestWavImportBit) && n >= 1) {
        std::vector<std::string> paths;
        for (uint32_t i = 0; i < n; ++i)
            if (const char* path = selector->getSelectedFile(i)) paths.emplace_back(path);
        sendWavImports(code, paths);
    } else if (engine_ && (code & protocol::kRequestOneFileBit) && n >= 1) {
        if (const char* path = selector->getSelectedFile(0)) sendFileRequest(code, path);
    }
    pendingFileRequest_ = 0;
}

void CorvaneVSTGUIEditor::sendWavImports(int32_t code, const std::vector<std::string>& paths) {
    if (!engine_) return;
    // Several files fill consecutive slots from the selected one; the rest are skipped.
    const int32_t first = engine_->selectedSample();
    for (size_t i = 0; i < paths.size(); ++i) {
        const int32_t slot = first + static_cast<int32_t>(i);
        if (slot > protocol::kRequestSlotMask) break;
        sendFileRequest(code | slot, paths[i]);
    }
}

bool CorvaneVSTGUIEditor::canDropFiles(const std::vector<std::string>& paths) {
    if (!engine_ || paths.empty()) return false;
    for (const std::string& path : paths)
        if (!velt::corvane::isImportableWavFile(path.c_str())) return false;
    return true;
}

bool CorvaneVSTGUIEditor::onDropFiles(const std::vector<std::string>& paths) {
    // Checked again: the files may have changed since the drag came over the window.
    if (!canDropFiles(paths)) return false;
    sendWavImports(protocol::kRequestImportWav, paths);
    return true;
}

}  // namespace Vst
}  // namespace Steinberg
