// Fixed sizes of the engine, in one place.
#pragma once

#include <cstdint>

namespace velt::corvane {

constexpr int32_t kPartCount = 16;               ///< one part per MIDI channel
constexpr int32_t kOutputBusCount = 16;          ///< stereo output buses
constexpr int32_t kChannelCount = 32;            ///< output channel buffers (2 per bus)
constexpr int32_t kControllerCount = 128;        ///< MIDI controller numbers
constexpr int32_t kStoredControllerCount = 120;  ///< controllers 0..119 kept per part
constexpr int32_t kParameterHandlerCount = 257;  ///< RPN 0..127, NRPN 128..255, none 256
constexpr int32_t kNoParameter = 256;
constexpr int32_t kPresetCount = 128;      ///< tone and sampler presets each
constexpr int32_t kSampleSlotCount = 128;  ///< sample-data slots
constexpr int32_t kEventQueueCapacity = 512;
constexpr int32_t kSysExCapacity = 256;  ///< inline SysEx bytes per event
constexpr int32_t kRackSlotCount = 4;
constexpr int32_t kMaxVoices = 1024;
constexpr int32_t kDefaultVoices = 128;
constexpr int32_t kDefaultMaxBlockSize = 2048;
constexpr float kDefaultSampleRate = 44100.0f;
constexpr float kDefaultMasterTune = 440.0f;
constexpr float kDefaultMasterVolume = 0.8f;

}  // namespace velt::corvane
