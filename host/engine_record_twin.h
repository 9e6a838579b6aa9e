// A synthesizer that only ever holds records, on the main thread: edits the audio thread
// has not applied yet are played on it over the last published view, by the very code the
// audio thread runs, so that what the main thread reads follows the same rules.
#pragma once

#include "host/engine_view.h"
#include "synth/pcm/engine_edit.h"
#include "synth/pcm/synthesizer_pcm.h"

namespace velt::corvane::host {

class EngineRecordTwin final : public synth::SynthesizerPCM {
public:
    EngineRecordTwin();

    /// False when memory for its tables could not be had.
    bool valid() const { return disposals_.valid(); }
    /// Takes every record of view (slots without sample arrays), with no side effect.
    void load(const EngineView& view);
    /// Applies one edit's effect on the records. Edits that own memory must come through
    /// recordedCopy(): this twin never takes an array or a voice pool.
    void play(const synth::EngineEdit& edit);

    /// The part of an edit that the twin needs, without the memory it owns.
    static synth::EngineEdit recordedCopy(const synth::EngineEdit& edit);
    /// Whether an edit changes anything that a view shows (records or the voice count).
    static bool changesRecords(const synth::EngineEdit& edit);

private:
    synth::DisposalRing disposals_{4};
};

}  // namespace velt::corvane::host
