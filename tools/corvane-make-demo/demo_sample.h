// One generated sample of the demo set with the slot parameters that go with it.
#pragma once

#include <cstdint>
#include <vector>

namespace velt::corvane::tools {

/// A mono waveform and how the demo uses it.
struct DemoSample {
    int32_t slot = 0;              ///< sample-data slot 0 to 127
    const char* fileName = "";     ///< file name inside the demo directory
    const char* title = "";        ///< one-line description for the read-me
    const char* encoding = "pcm";  ///< import encoding the render script asks for
    uint32_t sampleRate = 44100;   ///< Hz
    std::vector<float> frames;     ///< -1.0 to +1.0
    int32_t loopStart = 0;         ///< frame; 0 and 0 mean a one-shot
    int32_t loopEnd = 0;           ///< frame, exclusive; equals the length when looped
    double pitch = 0.0;            ///< fundamental in Hz, exact; 0 for one-shots
};

}  // namespace velt::corvane::tools
