// The editor's file requests: the request code's bits 8 to 15 choose the operation, bits 0
// to 6 the sample slot where one is needed.
#include <mutex>

#include "host/editor_protocol.h"
#include "host/editor_requests.h"

namespace velt::corvane::host {

bool EditorRequests::runFileRequest(int64_t code, const char* path) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    const int32_t operation = protocol::operationOf(code);
    const int32_t slot = protocol::slotOf(code);
    if (!path) return false;
    switch (operation) {
        case protocol::kFileImportTones: engine_.importText(path, 0); return true;
        case protocol::kFileImportSamplers:
            engine_.stopAllVoices();
            engine_.importText(path, 1);
            return true;
        case protocol::kFileImportSampleData: engine_.importText(path, 2); return true;
        case protocol::kFileImportWav:
        case protocol::kFileImportWavDpcm:
        case protocol::kFileImportWavAdpcm:
            engine_.stopAllVoices();
            engine_.importSample(slot, path, operation - protocol::kFileImportWav);
            return slot == selectedSample_;
        case protocol::kFileExportTones: engine_.exportText(path, 0); return false;
        case protocol::kFileExportSamplers: engine_.exportText(path, 1); return false;
        case protocol::kFileExportToneSysEx: engine_.exportSysExText(path, 0); return false;
        case protocol::kFileExportSamplerSysEx: engine_.exportSysExText(path, 1); return false;
        case protocol::kFileExportSampleData: engine_.exportText(path, 2); return false;
        default: return false;
    }
}

}  // namespace velt::corvane::host
