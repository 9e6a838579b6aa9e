// The interface of every module that sits in a rack slot, and the block context.
#pragma once

#include <cstdint>

#include "synth/core/engine_limits.h"

namespace velt::corvane {

class MidiEvent;
class ModuleRack;

/// What every module sees of one audio block.
struct BlockContext {
    float sampleRate = kDefaultSampleRate;
    int32_t channelCount = kChannelCount;
    int32_t maxBlockSize = kDefaultMaxBlockSize;
    float** channels = nullptr;   ///< 2k, 2k+1: left, right of output bus k; valid during a block
    MidiEvent* events = nullptr;  ///< chain head of the block
    int32_t startOffset = 0;
    int32_t frameCount = 0;
};

/// A rack module. Slots 1, 8 and 9 carry no defined operation.
class ICorvaneModule {
public:
    virtual void setSampleRate(const float& rate) = 0;
    virtual void reservedSlot1() {}
    virtual void setMaxBlockSize(const int32_t& frames) = 0;
    virtual void reset() = 0;
    virtual void systemReset() = 0;
    virtual void attach(ModuleRack& rack) = 0;
    virtual void detach() = 0;
    virtual void setSuspended(bool suspended) = 0;
    virtual void reservedSlot8() = 0;
    virtual void reservedSlot9() = 0;
    virtual void deactivate() = 0;
    virtual void activate() = 0;
    /// Audio thread: processes one block.
    virtual void process(BlockContext& context) = 0;
    virtual ~ICorvaneModule() = default;
};

}  // namespace velt::corvane
