// The processor's engine holder: rack, PCM synthesizer and MIDI input, the sample slots
// with their recorded WAV paths, the state chunk and the long edits (imports, polyphony).
// Every edit goes through its EditHandoff to the audio thread; the editor's requests reach
// it through EditorRequests.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "host/edit_handoff.h"
#include "host/engine_view.h"
#include "host/state_chunk.h"
#include "synth/core/midi_controller.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/engine_edit.h"
#include "synth/pcm/sample_import.h"
#include "synth/pcm/synthesizer_pcm.h"
#include "synth/pcm/voice_unit_pcm.h"

namespace velt::corvane::host {

/// flags bit values: long edits in progress.
constexpr int32_t kFlagPolyphonyChange = 1;
constexpr int32_t kFlagSampleImport = 2;

class EngineHost {
public:
    EngineHost();
    ~EngineHost();
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    /// False when memory for the engine or its queues could not be had.
    bool valid() const;

    // The engine. The main thread may call the rack's setup operations only while
    // audio is stopped; everything else goes through submit().
    ModuleRack& rack() { return *rack_; }
    synth::SynthesizerPCM& synth() { return *synth_; }
    util::MidiController& midiIn() { return *midiIn_; }

    // ---- Main thread ----
    // Every main-thread operation also takes a lock of the main side, so that a host that
    // saves from a thread of its own (getState) cannot race the main thread; the audio
    // thread never takes it.

    /// From now on edits are queued for the audio thread (the host's setActive(true)).
    void startAudio() { handoff_->startAudio(); }
    /// The audio thread has stopped (setActive(false)): queued edits apply now.
    void stopAudio() { handoff_->stopAudio(); }
    bool audioRunning() const { return handoff_->audioRunning(); }
    /// The main side's lock, for a sequence of edits that a save on another thread must
    /// see whole or not at all.
    std::recursive_mutex& mainSide() { return handoff_->mainSide(); }

    /// Applies edit now (audio stopped) or queues it; never drops it.
    void submit(synth::EngineEdit edit) { handoff_->submit(edit); }
    /// Frees what the audio thread handed back and queues edits that waited for room.
    void service() { handoff_->service(); }
    /// The engine's records with every submitted edit in them: the last block's copy with
    /// what the audio thread has not applied yet played over it (or the engine itself, when
    /// audio is stopped). Never waits. The reference is valid until the next main-thread call.
    const EngineView& view() { return handoff_->view(voiceCount_); }
    /// Whether the audio thread has applied every submitted edit (its last copy shows them).
    bool audioCaughtUp() { return handoff_->audioCaughtUp(); }
    /// The voice count that the submitted edits lead to.
    int32_t voiceCount() const { return voiceCount_; }
    int32_t flags() const { return flags_.load(std::memory_order_relaxed); }

    /// Every voice stops at once.
    void stopAllVoices();
    /// Rebuilds the voice pool for n voices (rounded up to a power of two, at most 1024);
    /// nothing happens when n is the current count.
    void changePolyphony(int32_t n);
    /// Imports a WAV file into slot with encoding 0 (PCM), 1 (DPCM) or 2 (ADPCM). False
    /// when the file cannot be opened; true otherwise, also when it was rejected (then
    /// nothing changed).
    bool importSample(int32_t slot, const char* path, int32_t encoding);

    /// Text import of kind 0 (tone presets), 1 (sampler presets) or 2 (sample-data
    /// parameters); false when the file cannot be opened (nothing changed), else true.
    bool importText(const char* path, int32_t kind);
    /// Text export of kind 0, 1 or 2; false when the file cannot be opened (nothing written).
    bool exportText(const char* path, int32_t kind);
    /// SysEx-text export of kind 0 (tone presets) or 1 (sampler presets).
    bool exportSysExText(const char* path, int32_t kind);

    /// The slot's numbers as the submitted edits leave them (exact, unlike view()).
    const SampleData& slotNumbers(int32_t slot) const { return slotShadow_[slot & 127]; }
    /// Gives slot the numbers (rate, pitch, points, loops) of numbers; its samples stay.
    void setSlotNumbers(int32_t slot, const SampleData& numbers);
    /// Empties slot (its voices stop first); its recorded path stays.
    void clearSlot(int32_t slot);

    /// Applies a saved chunk (reading it from source) as a restore does; false when a read
    /// fails or the version is refused, with everything read before applied.
    bool restoreState(state::ByteSource& source);
    /// The chunk that getState writes, with every edit submitted before the call. Any thread
    /// but the audio thread; never waits for the audio thread.
    state::StateChunk captureState();

    /// The path slot was last imported from ("" for none), and its encoding code.
    const std::string& samplePath(int32_t slot) const { return samplePaths_[slot & 127]; }
    int32_t sampleEncoding(int32_t slot) const { return sampleEncodings_[slot & 127]; }

    // ---- Audio thread ----

    /// Top of every block: applies the queued edits in order.
    void applyQueuedEdits() noexcept { handoff_->applyQueuedEdits(); }
    /// After every block: republishes the view when edits or events changed the records.
    void endBlock(bool recordsMayHaveChanged) noexcept { handoff_->endBlock(recordsMayHaveChanged); }

private:
    void setSuspended(bool suspended);
    void endLongEdit(int32_t clearMask);
    void installSlot(int32_t slot, PreparedSample& prepared);
    void restoreSlots(const state::StateChunk& chunk, const state::ReadProgress& progress);
    void submitSlotNumbers(int32_t slot);

    std::unique_ptr<ModuleRack> rack_;
    std::unique_ptr<synth::SynthesizerPCM> synth_;
    std::unique_ptr<util::MidiController> midiIn_;
    /// Declared after the engine, so that it goes first: what it still holds was meant for it.
    std::unique_ptr<EditHandoff> handoff_;

    std::atomic<int32_t> flags_{0};
    int32_t voiceCount_ = kDefaultVoices;
    std::array<std::string, kSampleSlotCount> samplePaths_;
    std::array<uint8_t, kSampleSlotCount> sampleEncodings_{};
    /// Main thread: every slot's numbers (no samples) as the submitted edits leave them,
    /// so that replies need not wait for the audio thread. Only main-thread edits change slots.
    std::unique_ptr<SampleData[]> slotShadow_;
    /// Saved entries of slots whose files were found nowhere, written back unchanged.
    std::array<std::unique_ptr<state::SlotEntry>, kSampleSlotCount> unresolved_;
};

/// Copies a slot's numbers, frame count and channels, not its array (to.samples = null).
void copySlotNumbers(const SampleData& from, SampleData& to);

}  // namespace velt::corvane::host
