#include "host/edit_handoff.h"

#include <new>

namespace velt::corvane::host {

using synth::EditKind;
using synth::EngineEdit;

EditHandoff::EditHandoff(ModuleRack& rack, synth::SynthesizerPCM& synth)
    : rack_(rack), synth_(synth), otherThreadView_(new (std::nothrow) EngineView) {}

EditHandoff::~EditHandoff() {
    freeHandedBack();
    for (const EngineEdit& e : waiting_) synth::freeUnappliedEdit(e);
    EngineEdit e;
    while (edits_.pop(e)) synth::freeUnappliedEdit(e);
}

bool EditHandoff::valid() const {
    return otherThreadView_ && truth_.valid() && edits_.valid() && disposals_.valid();
}

void EditHandoff::startAudio() {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    if (audioRunning_) return;
    // No block runs yet, so every buffer can be filled from here.
    for (int32_t i = 0; i < 3; ++i) {
        captureView(synth_, views_.buffer(i));
        views_.buffer(i).editsApplied = editsApplied_;
        views_.buffer(i).publication = publications_;
    }
    viewDirty_ = false;
    audioRunning_ = true;
}

void EditHandoff::stopAudio() {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    if (!audioRunning_) return;
    audioRunning_ = false;
    // The host calls this once its audio thread has left process: the rest of the
    // queue is the main thread's to apply.
    applyQueuedEdits();
    while (!waiting_.empty()) {
        EngineEdit e = waiting_.front();
        waiting_.pop_front();
        apply(e);
        ++editsApplied_;
    }
    truth_.clear();
    freeHandedBack();
}

void EditHandoff::submit(EngineEdit edit) {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    if (!audioRunning_) {
        apply(edit);
        freeHandedBack();
        return;
    }
    service();
    ++editsQueued_;
    truth_.submitted(editsQueued_, edit);
    if (!waiting_.empty() || !edits_.push(edit)) waiting_.push_back(edit);
}

void EditHandoff::service() {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    freeHandedBack();
    while (!waiting_.empty() && edits_.push(waiting_.front())) waiting_.pop_front();
}

bool EditHandoff::audioCaughtUp() {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    return !audioRunning_ || views_.read().editsApplied >= editsQueued_;
}

const EngineView& EditHandoff::view(int32_t voiceCount) {
    std::lock_guard<std::recursive_mutex> lock(mainSide_);
    if (audioRunning_) return truth_.current(views_.read(), voiceCount);
    captureView(synth_, stoppedView_);
    stoppedView_.editsApplied = editsApplied_;
    return stoppedView_;
}

const EngineView& EditHandoff::viewForSave(int32_t voiceCount) {
    if (std::this_thread::get_id() == mainThread_) return view(voiceCount);
    // Another thread must not move the main thread's copies under its feet: it builds its
    // own, from the audio thread's copy the main thread last took (which the edits not in
    // it complete).
    if (audioRunning_) {
        truth_.build(views_.lastRead(), voiceCount, *otherThreadView_);
    } else {
        captureView(synth_, *otherThreadView_);
        otherThreadView_->editsApplied = editsApplied_;
    }
    return *otherThreadView_;
}

void EditHandoff::freeHandedBack() {
    synth::EngineDisposal d;
    while (disposals_.pop(d)) synth::freeDisposal(d);
}

void EditHandoff::apply(EngineEdit& e) noexcept {
    if (e.kind == EditKind::SynthSuspended) {
        rack_.setSlotSuspended(1, e.a != 0);
        return;
    }
    synth::applyEngineEdit(synth_, e, disposals_);
}

void EditHandoff::applyQueuedEdits() noexcept {
    EngineEdit e;
    while (edits_.pop(e)) {
        apply(e);
        ++editsApplied_;
        viewDirty_ = true;
    }
}

void EditHandoff::endBlock(bool recordsMayHaveChanged) noexcept {
    if (!recordsMayHaveChanged && !viewDirty_) return;
    EngineView& v = views_.writeBuffer();
    captureView(synth_, v);
    v.editsApplied = editsApplied_;
    v.publication = ++publications_;
    views_.publish();
    viewDirty_ = false;
}

}  // namespace velt::corvane::host
