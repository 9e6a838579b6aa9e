// Streams 32-bit IEEE float WAV files (format tag 3, with a fact chunk); the
// sizes in the header are patched when the file is finished.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace velt::corvane::tools {

/// Bytes before the first sample: RIFF header, 18-byte fmt, fact and data headers.
constexpr uint32_t kFloatWavHeaderSize = 58;

/// Most frames a file of channelCount channels can hold under the 4 GiB RIFF limit.
uint64_t maxFloatWavFrames(int32_t channelCount);

class FloatWavWriter {
public:
    FloatWavWriter() = default;
    FloatWavWriter(const FloatWavWriter&) = delete;
    FloatWavWriter& operator=(const FloatWavWriter&) = delete;
    /// Closes an unfinished file as it is (its header then claims no samples).
    ~FloatWavWriter();

    /// Creates (or truncates) path and writes the header; channelCount 1 to 16.
    bool open(const char* path, int32_t channelCount, uint32_t sampleRate);
    /// Appends frames of a stereo pair; the file must have 2 channels. Allocates nothing.
    bool writeStereo(const float* left, const float* right, int32_t frames);
    /// Appends frames of interleaved samples (frames × channel count floats).
    bool writeInterleaved(const float* samples, int32_t frames);
    /// Writes the final sizes and closes the file; false when any write failed.
    bool finish();

    bool isOpen() const { return file_ != nullptr; }
    uint64_t framesWritten() const { return frames_; }
    /// What went wrong, for the caller's message; empty while all is well.
    const std::string& error() const { return error_; }

private:
    bool fail(const char* what);
    bool flushBuffer();

    std::FILE* file_ = nullptr;
    int32_t channels_ = 0;
    uint32_t sampleRate_ = 0;
    uint64_t frames_ = 0;
    uint32_t buffered_ = 0;  ///< bytes waiting in buffer_
    bool failed_ = false;
    std::string error_;
    uint8_t buffer_[8192];
};

}  // namespace velt::corvane::tools
