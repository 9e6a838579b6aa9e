// One audio processor per process for the fuzzers that drive the plug-in: created and
// initialized once (that is the slow part), connected to a peer that drops what it gets,
// with temporary folders for the sample search and for file requests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plugin/corvane_vst_processor.h"

namespace Steinberg::Vst {
class HostApplication;
}

namespace velt::corvane::fuzz {

class ProcessorRig {
public:
    /// The block size announced in setupProcessing, and the most any block holds.
    static constexpr int32_t kMaxFrames = 256;

    /// The rig of this process, built on first use; null when it could not be built.
    static ProcessorRig* shared();

    Steinberg::Vst::CorvaneVSTProcessor& processor() { return *processor_; }
    /// Empty folder named by CORVANE_SAMPLE_PATH.
    const std::string& sampleFolder() const { return sampleFolder_; }
    /// Folder every file request is mapped into.
    const std::string& fileFolder() const { return fileFolder_; }

    /// Back to the state saved right after initialize (inactive).
    void restoreFreshState();
    /// Empties the file folder and writes the fixture files again (a.wav, b.wav, t0..t2.txt).
    void resetFiles();

    /// Activates (after a setup) or deactivates the processor.
    void setActive(bool active);
    bool active() const { return active_; }
    /// One block of frames with all sixteen stereo outputs; only while active.
    void processBlock(int32_t frames);

    ~ProcessorRig();

private:
    ProcessorRig() = default;
    bool build();
    void makeFixtures();

    struct Fixture {
        std::string name;
        std::vector<uint8_t> bytes;
    };

    // The SDK's host object counts no references: it is owned here and outlives the processor.
    std::unique_ptr<Steinberg::Vst::HostApplication> host_;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> audio_;
    Steinberg::Vst::CorvaneVSTProcessor* processor_ = nullptr;
    std::string baseFolder_;
    std::string sampleFolder_;
    std::string fileFolder_;
    std::vector<uint8_t> freshState_;
    std::vector<Fixture> fixtures_;
    std::vector<float> buffers_;
    bool active_ = false;
};

}  // namespace velt::corvane::fuzz
