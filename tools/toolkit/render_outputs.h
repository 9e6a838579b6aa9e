// The files a render writes: streamed into temporary files beside the output
// path and renamed into place only when the whole render succeeded.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "synth/core/engine_limits.h"
#include "tools/toolkit/engine_session.h"
#include "tools/toolkit/float_wav_writer.h"

namespace velt::corvane::tools {

/// mix: the 16 buses summed into one stereo file; all: one stereo file per bus.
enum class OutputMode { Mix, All };

/// The output path without a trailing ".wav" (any case), for the per-bus names.
std::string outputBase(const std::string& outPath);
/// Name of bus 0..15's file in the all mode: base-01.wav to base-16.wav.
std::string busFileName(const std::string& outPath, int32_t bus);

class RenderOutputs : public BlockSink {
public:
    RenderOutputs() = default;
    RenderOutputs(const RenderOutputs&) = delete;
    RenderOutputs& operator=(const RenderOutputs&) = delete;
    /// Removes any temporary file still left.
    ~RenderOutputs() override;

    /// Creates the temporary files; false with error set (nothing is left behind).
    bool open(const std::string& outPath, OutputMode mode, uint32_t sampleRate, int32_t blockSize,
              std::string& error);

    /// Prints a line to err after every 10 s of audio when the render is longer than 30 s.
    void setProgress(std::ostream* err, int64_t totalFrames, uint32_t sampleRate);

    bool takeBlock(const float* const* channels, int32_t frames, int64_t blockStart) override;

    /// Finishes the files and moves them into place: the mix file, or the files
    /// of the buses that sounded and whose keep flag is set (the others are removed). written gets
    /// the final paths. On failure every temporary file is removed.
    bool commit(const std::array<bool, kOutputBusCount>& keep, std::vector<std::string>& written,
                std::string& error);

    /// Removes every temporary file that was not moved into place.
    void discard();

    /// Largest absolute sample of the mix (mix mode only).
    float mixPeak() const { return mixPeak_; }
    /// The first write failure, for the error message.
    const std::string& writeError() const { return writeError_; }

private:
    struct Target {
        std::string tempPath;
        std::string finalPath;
        FloatWavWriter writer;
        bool started = false;  ///< the writer is open: the bus has sounded (always for the mix)
    };

    bool addTarget(const std::string& finalPath, bool startNow, std::string& error);
    bool startTarget(Target& t, int64_t silentFrames);
    void reportProgress(int64_t renderedFrames);

    OutputMode mode_ = OutputMode::Mix;
    std::vector<std::unique_ptr<Target>> targets_;
    std::unique_ptr<float[]> mix_;      ///< left then right, blockSize each
    std::unique_ptr<float[]> silence_;  ///< blockSize zeros for a bus that starts late
    uint32_t fileRate_ = 0;
    int32_t blockSize_ = 0;
    float mixPeak_ = 0.0f;
    std::string writeError_;
    std::ostream* progress_ = nullptr;
    int64_t totalFrames_ = 0;
    uint32_t sampleRate_ = 0;
    int64_t nextReport_ = 0;
};

}  // namespace velt::corvane::tools
