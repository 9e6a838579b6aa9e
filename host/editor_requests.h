// The editor's requests to the engine holder, as the processor receives them in messages:
// value changes, file requests and preset names, decoded here into engine edits and
// answered with the values as they will be stored. It also keeps the editor's selection,
// and is the display interface the editor and the controller are handed. Main thread only.
#pragma once

#include <cstdint>

#include "host/engine_display.h"
#include "host/engine_host.h"

namespace velt::corvane::host {

class EditorRequests final : public EngineDisplay {
public:
    explicit EditorRequests(EngineHost& engine) : engine_(engine) {}

    /// Applies one value change: tag bits 8 to 15 the group, bits 0 to 7 the code. True with
    /// echo set to the value as stored, for the changes the protocol knows; false (nothing
    /// changed, no answer) for any other tag.
    bool applyValueChange(int64_t tag, double val, float& echo);
    /// Runs one file request on path; true when the editor must be told to refresh.
    bool runFileRequest(int64_t code, const char* path);
    /// Writes a name field's 16 bytes into the selected tone or sampler preset, as the tag
    /// names the field; false for a tag that is no name field.
    bool applyNameChange(int64_t tag, const char (&name)[16]);

    /// Writes the 16 name bytes (already filtered to printable ASCII and padded) into the
    /// selected tone or sampler preset.
    void setSelectedToneName(const char (&name)[16]);
    void setSelectedSamplerName(const char (&name)[16]);
    /// Clamps m to the highest mode, sets the selected part's mode (its voices stop
    /// when it changes) and re-derives the selected tone and sample.
    void setSelectedPartMode(int32_t m);

    void setSelectedPart(int32_t part) { selectedPart_ = part & 15; }
    void setSelectedTone(int32_t tone) { selectedTone_ = tone & 127; }
    void setSelectedSampler(int32_t sampler) { selectedSampler_ = sampler & 127; }
    void setSelectedSample(int32_t slot) { selectedSample_ = slot & 127; }

    // EngineDisplay
    const EngineView& view() override { return engine_.view(); }
    bool audioRunning() const override { return engine_.audioRunning(); }
    int32_t voiceCount() const override { return engine_.voiceCount(); }
    int32_t selectedPart() const override { return selectedPart_; }
    int32_t selectedTone() const override { return selectedTone_; }
    int32_t selectedSampler() const override { return selectedSampler_; }
    int32_t selectedSample() const override { return selectedSample_; }
    const SampleData& slotNumbers(int32_t slot) const override { return engine_.slotNumbers(slot); }

private:
    bool systemChange(int32_t code, double val, float& echo);
    bool partChange(int32_t code, double val, float& echo);
    bool presetChange(bool tone, int32_t code, double val, float& echo);
    bool slotChange(int32_t code, double val, float& echo);
    void selectPart(int32_t part, int32_t programOverride);

    EngineHost& engine_;
    int32_t selectedPart_ = 0;
    int32_t selectedTone_ = 0;
    int32_t selectedSampler_ = 0;
    int32_t selectedSample_ = 0;
};

}  // namespace velt::corvane::host
