// What the editor and the controller may see of the engine holder: reads for display, on
// the main thread. Edits go out as messages to the processor, never through this.
#pragma once

#include <cstdint>

#include "host/engine_view.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::host {

class EngineDisplay {
public:
    /// The records with every submitted edit in them; valid until the next main-thread call.
    virtual const EngineView& view() = 0;
    /// Whether the host's audio thread runs blocks (edits then reach the engine a block later).
    virtual bool audioRunning() const = 0;
    /// The voice count that the submitted edits lead to.
    virtual int32_t voiceCount() const = 0;

    // The editor's selection.
    virtual int32_t selectedPart() const = 0;
    virtual int32_t selectedTone() const = 0;
    virtual int32_t selectedSampler() const = 0;
    virtual int32_t selectedSample() const = 0;

    /// A slot's numbers as the submitted edits leave them (no samples).
    virtual const SampleData& slotNumbers(int32_t slot) const = 0;

protected:
    ~EngineDisplay() = default;
};

}  // namespace velt::corvane::host
