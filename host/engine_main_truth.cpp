#include "host/engine_main_truth.h"

#include <new>

namespace velt::corvane::host {

EngineMainTruth::EngineMainTruth() : twin_(new (std::nothrow) EngineRecordTwin) {}

void EngineMainTruth::submitted(uint64_t seq, const synth::EngineEdit& edit) {
    if (!EngineRecordTwin::changesRecords(edit)) return;
    pending_.push_back(Pending{seq, EngineRecordTwin::recordedCopy(edit)});
}

void EngineMainTruth::clear() {
    pending_.clear();
    truthBuilt_ = false;
}

void EngineMainTruth::dropApplied(uint64_t editsApplied) {
    while (!pending_.empty() && pending_.front().seq <= editsApplied) pending_.pop_front();
}

void EngineMainTruth::finish(const EngineView& published, int32_t voiceCount, EngineView& out) const {
    captureView(*twin_, out);
    // What only the audio thread knows comes from its view.
    out.editsApplied = published.editsApplied;
    out.publication = published.publication;
    out.sampleRate = published.sampleRate;
    out.activeVoices = published.activeVoices;
    out.voiceCount = voiceCount;
}

const EngineView& EngineMainTruth::current(const EngineView& published, int32_t voiceCount) {
    dropApplied(published.editsApplied);
    if (pending_.empty() || !valid()) return published;
    const bool rebuild = !truthBuilt_ || builtFrom_ != published.publication;
    if (rebuild) twin_->load(published);
    const bool played = rebuild || playedUpTo_ < pending_.back().seq;
    for (const Pending& p : pending_)
        if (rebuild || p.seq > playedUpTo_) twin_->play(p.edit);
    if (played || builtVoices_ != voiceCount) finish(published, voiceCount, truth_);
    truthBuilt_ = true;
    builtFrom_ = published.publication;
    playedUpTo_ = pending_.back().seq;
    builtVoices_ = voiceCount;
    return truth_;
}

void EngineMainTruth::build(const EngineView& published, int32_t voiceCount, EngineView& out) {
    dropApplied(published.editsApplied);
    if (pending_.empty() || !valid()) {
        out = published;
        out.voiceCount = voiceCount;
        return;
    }
    twin_->load(published);
    for (const Pending& p : pending_) twin_->play(p.edit);
    finish(published, voiceCount, out);
    // The twin now holds another state than truth_ was built on.
    truthBuilt_ = false;
}

}  // namespace velt::corvane::host
