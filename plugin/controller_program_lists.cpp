// Program lists: every channel's program change picks one of the 128 tone presets, so
// each channel's list names them, read from the engine when its address is known.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "host/engine_display.h"
#include "host/state_chunk.h"
#include "plugin/corvane_vst_controller.h"
#include "plugin/parameter_ids.h"
#include "plugin/state_stream.h"
#include "pluginterfaces/base/ustring.h"

namespace Steinberg {
namespace Vst {

namespace {

namespace ids = velt::corvane::plugin;
constexpr int32 kListCount = 16;
constexpr int32 kProgramCount = 128;

/// The channel whose list this is, or -1.
int32 channelOfList(ProgramListID listId) {
    const int32 channel = listId - ids::programUnitId(0);
    return channel >= 0 && channel < kListCount ? channel : -1;
}

}  // namespace

void CorvaneVSTController::readToneNames(std::array<std::array<char, 17>, 128>& names) {
    // One view for all 128 names: each view() of a stopped engine copies every record.
    const velt::corvane::host::EngineView* view = engine_ ? &engine_->view() : nullptr;
    // Once the audio thread has passed the restore (or stopped and applied it itself), the
    // view holds the restored names and whatever came after them.
    if (namesRestored_ && (!view || !engine_->audioRunning() || view->editsApplied != restoreMark_))
        namesRestored_ = false;
    if (namesRestored_) {
        names = restoredNames_;
        return;
    }
    velt::corvane::TonePreset fresh{};
    if (!view) velt::corvane::resetTonePreset(fresh);
    for (int32 i = 0; i < kProgramCount; ++i) {
        // Without the processor's address, the names of a new instance.
        std::memcpy(names[i].data(), view ? view->tones[i].presetName : fresh.presetName, 16);
        names[i][16] = '\0';
    }
}

int32 PLUGIN_API CorvaneVSTController::getProgramListCount() {
    return kListCount;
}

tresult PLUGIN_API CorvaneVSTController::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex < 0 || listIndex >= kListCount) return kResultFalse;
    info.id = ids::programUnitId(listIndex);
    UString(info.name, 128).fromAscii("Tone Presets");
    info.programCount = kProgramCount;
    return kResultOk;
}

tresult PLUGIN_API CorvaneVSTController::getProgramName(ProgramListID listId, int32 programIndex,
                                                        String128 name) {
    if (channelOfList(listId) < 0 || programIndex < 0 || programIndex >= kProgramCount) return kResultFalse;
    std::array<std::array<char, 17>, 128> names;
    readToneNames(names);
    char tone[17];
    std::memcpy(tone, names[programIndex].data(), 17);
    // Names are blank-padded to 16 characters; the host shows them trimmed.
    int32 length = 16;
    while (length > 0 && (tone[length - 1] == ' ' || tone[length - 1] == '\0')) --length;
    tone[length] = '\0';
    for (int32 i = 0; i < length; ++i)
        if (static_cast<unsigned char>(tone[i]) < 0x20 || static_cast<unsigned char>(tone[i]) > 0x7E)
            tone[i] = '?';
    char text[32];
    if (length > 0)
        std::snprintf(text, sizeof text, "%03d %s", static_cast<int>(programIndex), tone);
    else
        std::snprintf(text, sizeof text, "%03d", static_cast<int>(programIndex));
    UString(name, 128).fromAscii(text);
    if (!namesListed_) {
        // What the host reads now is what a later change is compared with.
        listedNames_ = names;
        namesListed_ = true;
    }
    return kResultTrue;
}

void CorvaneVSTController::checkProgramNames() {
    if (!namesListed_) return;
    std::array<std::array<char, 17>, 128> names;
    readToneNames(names);
    if (names == listedNames_) return;
    listedNames_ = names;
    for (int32 channel = 0; channel < kListCount; ++channel)
        notifyProgramListChange(ids::programUnitId(channel), kAllProgramInvalid);
}

void CorvaneVSTController::noteRestore() {
    namesRestored_ = false;
    restorePending_ = engine_ && engine_->audioRunning();
    if (restorePending_) restoreMark_ = engine_->view().editsApplied;
    checkProgramNames();
}

bool CorvaneVSTController::readRestoredNames(IBStream* state, std::array<std::array<char, 17>, 128>& names) {
    std::unique_ptr<velt::corvane::state::StateChunk> chunk(new (std::nothrow)
                                                                velt::corvane::state::StateChunk);
    if (!chunk || !state) return false;
    // Tones the chunk does not reach keep their names, as the restore leaves them.
    readToneNames(names);
    for (int32 i = 0; i < kProgramCount; ++i) std::memcpy(chunk->tones[i].presetName, names[i].data(), 16);
    int64 start = 0;
    const bool rewind = state->tell(&start) == kResultOk;
    velt::corvane::plugin::StreamSource source(state);
    const velt::corvane::state::ReadProgress progress = velt::corvane::state::readStateChunk(source, *chunk);
    // The base class reads nothing, but a host may hand the stream on.
    if (rewind) state->seek(start, IBStream::kIBSeekSet, nullptr);
    if (!progress.versionAccepted) return false;
    for (int32 i = 0; i < progress.tonesReached && i < kProgramCount; ++i) {
        std::memcpy(names[i].data(), chunk->tones[i].presetName, 16);
        names[i][16] = '\0';
    }
    return true;
}

tresult PLUGIN_API CorvaneVSTController::setComponentState(IBStream* state) {
    if (restorePending_) {
        restorePending_ = false;
        std::array<std::array<char, 17>, 128> names;
        // Only while the view still lags behind the restore: a view that has caught up
        // already holds these names, and later ones.
        if (engine_ && engine_->audioRunning() && engine_->view().editsApplied == restoreMark_ &&
            readRestoredNames(state, names)) {
            restoredNames_ = names;
            namesRestored_ = true;
        }
        checkProgramNames();
    }
    return EditControllerEx1::setComponentState(state);
}

}  // namespace Vst
}  // namespace Steinberg
