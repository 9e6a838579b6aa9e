// What the main thread reads of the engine while audio runs: the view the audio thread
// published last, with every submitted edit it has not applied yet played over it. So a
// save, an export or a selection includes the edits just made, and never waits for the
// audio thread (a host may stay active for minutes without processing).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "host/engine_record_twin.h"
#include "host/engine_view.h"
#include "synth/pcm/engine_edit.h"

namespace velt::corvane::host {

class EngineMainTruth {
public:
    EngineMainTruth();

    bool valid() const { return twin_ && twin_->valid(); }

    /// The edit numbered seq (1, 2, ... in submission order) went to the audio thread.
    void submitted(uint64_t seq, const synth::EngineEdit& edit);
    /// Audio stopped: the engine itself holds every edit again.
    void clear();

    /// published with the edits it does not include (seq above its editsApplied) played
    /// over it; published itself when there are none. voiceCount: what the edits lead to.
    /// The reference stays valid until the next call.
    const EngineView& current(const EngineView& published, int32_t voiceCount);
    /// The same into out, leaving what current() keeps alone.
    void build(const EngineView& published, int32_t voiceCount, EngineView& out);

    /// Edits the published view did not include at the last look.
    size_t pending() const { return pending_.size(); }

private:
    struct Pending {
        uint64_t seq;
        synth::EngineEdit edit;
    };

    void dropApplied(uint64_t editsApplied);
    void finish(const EngineView& published, int32_t voiceCount, EngineView& out) const;

    std::unique_ptr<EngineRecordTwin> twin_;
    std::deque<Pending> pending_;
    EngineView truth_;
    bool truthBuilt_ = false;
    uint64_t builtFrom_ = 0;   ///< publication of the view truth_ was built from
    uint64_t playedUpTo_ = 0;  ///< last seq played on the twin for truth_
    int32_t builtVoices_ = 0;
};

}  // namespace velt::corvane::host
