// The editor's file requests: the request code's bits 8 to 15 choose the operation, bits 0
// to 6 the sample slot where one is needed.
#include <mutex>

#include "host/editor_requests.h"

namespace velt::corvane::host {

bool EditorRequests::runFileRequest(int64_t code, const char* path) {
    std::lock_guard<std::recursive_mutex> lock(engine_.mainSide());
    const auto low = static_cast<uint32_t>(code);
    const int32_t operation = static_cast<int32_t>((low >> 8) & 0xFF);
    const int32_t slot = static_cast<int32_t>(low & 127);
    if (!path) return false;
    switch (operation) {
        case 0x11: engine_.importText(path, 0); return true;
        case 0x12:
            engine_.stopAllVoices();
            engine_.importText(path, 1);
            return true;
        case 0x15: engine_.importText(path, 2); return true;
        case 0x21:
        case 0x22:
        case 0x23:
            engine_.stopAllVoices();
            engine_.importSample(slot, path, operation - 0x21);
            return slot == selectedSample_;
        case 0x91: engine_.exportText(path, 0); return false;
        case 0x92: engine_.exportText(path, 1); return false;
        case 0x93: engine_.exportSysExText(path, 0); return false;
        case 0x94: engine_.exportSysExText(path, 1); return false;
        case 0x95: engine_.exportText(path, 2); return false;
        default: return false;
    }
}

}  // namespace velt::corvane::host
