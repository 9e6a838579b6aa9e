// The hand-off between the main thread (every edit) and the audio thread (every block).
//
// While audio runs, the main thread never writes what the audio thread reads: it queues each
// edit; the audio thread applies the queue at the top of each block and hands replaced arrays
// back through a second queue to be freed on the main thread. The main thread reads the
// engine only through view(): the copy the audio thread published last, with the edits it has
// not applied yet played over it on the main thread, so that nothing there ever waits for the
// audio thread. While audio is stopped, edits apply at once.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "host/engine_main_truth.h"
#include "host/engine_view.h"
#include "host/triple_buffer.h"
#include "synth/core/module_rack.h"
#include "synth/pcm/engine_edit.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::host {

/// Edits that fit in the queue at once; more wait on the main thread, in order.
constexpr size_t kEditQueueCapacity = 1024;

class EditHandoff {
public:
    /// The rack and synthesizer outlive the hand-off.
    EditHandoff(ModuleRack& rack, synth::SynthesizerPCM& synth);
    ~EditHandoff();
    EditHandoff(const EditHandoff&) = delete;
    EditHandoff& operator=(const EditHandoff&) = delete;

    /// False when memory for the queues or copies could not be had.
    bool valid() const;

    // ---- Main thread ----
    // Every main-thread operation takes the main side's lock, so that a host that saves from
    // a thread of its own (getState) cannot race the main thread; the audio thread never
    // takes it.

    /// The main side's lock, for a sequence of edits that a save on another thread must see
    /// whole or not at all.
    std::recursive_mutex& mainSide() { return mainSide_; }
    /// From now on edits are queued for the audio thread (the host's setActive(true)).
    void startAudio();
    /// The audio thread has stopped (setActive(false)): queued edits apply now.
    void stopAudio();
    bool audioRunning() const { return audioRunning_; }

    /// Applies edit now (audio stopped) or queues it; never drops it.
    void submit(synth::EngineEdit edit);
    /// Frees what the audio thread handed back and queues edits that waited for room.
    void service();
    /// The records with every submitted edit in them, for a pool of voiceCount voices.
    /// Never waits; valid until the next main-thread call.
    const EngineView& view(int32_t voiceCount);
    /// The same for a save, from any thread but the audio thread.
    const EngineView& viewForSave(int32_t voiceCount);
    /// Whether the audio thread has applied every submitted edit (its last copy shows them).
    bool audioCaughtUp();

    // ---- Audio thread (main thread while audio is stopped) ----

    /// Top of every block: applies the queued edits in order.
    void applyQueuedEdits() noexcept;
    /// After every block: republishes the view when edits or events changed the records.
    void endBlock(bool recordsMayHaveChanged) noexcept;

private:
    void apply(synth::EngineEdit& edit) noexcept;
    void freeHandedBack();

    ModuleRack& rack_;
    synth::SynthesizerPCM& synth_;
    synth::EditRing edits_{kEditQueueCapacity};
    // Every queued edit hands back at most one disposal, and the main thread frees them
    // before it queues more, so this ring cannot overflow.
    synth::DisposalRing disposals_{kEditQueueCapacity};
    std::deque<synth::EngineEdit> waiting_;

    std::recursive_mutex mainSide_;
    const std::thread::id mainThread_ = std::this_thread::get_id();
    bool audioRunning_ = false;
    uint64_t editsQueued_ = 0;   ///< main thread: edits pushed or waiting since construction
    uint64_t editsApplied_ = 0;  ///< audio thread (main while stopped)
    uint64_t publications_ = 0;  ///< audio thread: views published
    bool viewDirty_ = true;      ///< audio thread
    TripleBuffer<EngineView> views_;
    EngineView stoppedView_;
    EngineMainTruth truth_;
    /// A save from a thread other than the main thread builds its copy here.
    std::unique_ptr<EngineView> otherThreadView_;
};

}  // namespace velt::corvane::host
