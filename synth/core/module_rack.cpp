#include "synth/core/module_rack.h"

namespace velt::corvane {

ModuleRack::ModuleRack() {
    head_.reset();
}

float ModuleRack::setSampleRate(float rate) {
    if (!(rate >= 1.0f)) return context_.sampleRate;
    context_.sampleRate = rate;
    for (ICorvaneModule* m : modules_)
        if (m) m->setSampleRate(rate);
    return context_.sampleRate;
}

void ModuleRack::setMaxBlockSize(int32_t frames) {
    if (frames < 1) return;
    context_.maxBlockSize = frames;
    for (ICorvaneModule* m : modules_)
        if (m) m->setMaxBlockSize(frames);
}

ICorvaneModule* ModuleRack::setModule(int32_t index, ICorvaneModule* module) {
    if (index < 0 || index >= slotCount_) return nullptr;
    if (module) {
        for (ICorvaneModule*& slot : modules_) {
            if (slot == module) {
                slot = nullptr;
                module->detach();
            }
        }
    }
    modules_[index] = module;
    if (module) module->attach(*this);
    return module;
}

void ModuleRack::setSlotSuspended(int32_t index, bool suspended) {
    if (index < 0 || index >= slotCount_) return;
    disabled_[index] = suspended ? 1 : 0;
    if (modules_[index]) modules_[index]->setSuspended(suspended);
}

void ModuleRack::activateAll() {
    for (ICorvaneModule* m : modules_)
        if (m) m->activate();
}

void ModuleRack::deactivateAll() {
    for (ICorvaneModule* m : modules_)
        if (m) m->deactivate();
}

ICorvaneModule* ModuleRack::module(int32_t index) const {
    return index >= 0 && index < slotCount_ ? modules_[index] : nullptr;
}

bool ModuleRack::isSlotSuspended(int32_t index) const {
    return index >= 0 && index < slotCount_ && disabled_[index] != 0;
}

void ModuleRack::processBlock(float** channels, int32_t frameCount) noexcept {
    head_.reset();
    context_.channels = channels;
    context_.events = &head_;
    context_.startOffset = 0;
    context_.frameCount = frameCount;
    for (int32_t i = 0; i < slotCount_; ++i)
        if (modules_[i] && disabled_[i] == 0) modules_[i]->process(context_);
    context_.channels = nullptr;
    context_.events = nullptr;
    context_.startOffset = 0;
    context_.frameCount = 0;
}

}  // namespace velt::corvane
