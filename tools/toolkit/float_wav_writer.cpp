#include "tools/toolkit/float_wav_writer.h"

#include <cerrno>
#include <cstring>

namespace velt::corvane::tools {

namespace {

constexpr uint32_t kRiffLimit = 0xFFFFFFFFu;

void putLe16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void putLe32(uint8_t* p, uint32_t v) {
    putLe16(p, v & 0xFFFF);
    putLe16(p + 2, v >> 16);
}

void putFloat(uint8_t* p, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    putLe32(p, bits);
}

/// The 58 header bytes for frames frames of channels channels.
void buildHeader(uint8_t (&h)[kFloatWavHeaderSize], int32_t channels, uint32_t sampleRate, uint64_t frames) {
    const uint32_t blockAlign = 4u * static_cast<uint32_t>(channels);
    const uint32_t dataSize = static_cast<uint32_t>(frames * blockAlign);
    std::memcpy(h, "RIFF", 4);
    putLe32(h + 4, kFloatWavHeaderSize - 8 + dataSize);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    putLe32(h + 16, 18);
    putLe16(h + 20, 3);  // IEEE float
    putLe16(h + 22, static_cast<uint32_t>(channels));
    putLe32(h + 24, sampleRate);
    putLe32(h + 28, sampleRate * blockAlign);
    putLe16(h + 32, blockAlign);
    putLe16(h + 34, 32);
    putLe16(h + 36, 0);  // no extension bytes
    std::memcpy(h + 38, "fact", 4);
    putLe32(h + 42, 4);
    putLe32(h + 46, static_cast<uint32_t>(frames));
    std::memcpy(h + 50, "data", 4);
    putLe32(h + 54, dataSize);
}

}  // namespace

uint64_t maxFloatWavFrames(int32_t channelCount) {
    if (channelCount < 1) return 0;
    return (uint64_t{kRiffLimit} - (kFloatWavHeaderSize - 8)) / (4u * static_cast<uint64_t>(channelCount));
}

FloatWavWriter::~FloatWavWriter() {
    if (file_) std::fclose(file_);
}

bool FloatWavWriter::fail(const char* what) {
    if (!failed_) error_ = std::string(what) + ": " + std::strerror(errno);
    failed_ = true;
    return false;
}

bool FloatWavWriter::open(const char* path, int32_t channelCount, uint32_t sampleRate) {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    frames_ = 0;
    buffered_ = 0;
    failed_ = false;
    error_.clear();
    if (channelCount < 1 || channelCount > 16 || sampleRate == 0) {
        failed_ = true;
        error_ = "unsupported channel count or sample rate";
        return false;
    }
    channels_ = channelCount;
    file_ = path ? std::fopen(path, "wb") : nullptr;
    if (!file_) return fail("cannot create");
    uint8_t header[kFloatWavHeaderSize];
    buildHeader(header, channels_, sampleRate, 0);
    if (std::fwrite(header, 1, sizeof header, file_) != sizeof header) return fail("cannot write");
    sampleRate_ = sampleRate;
    return true;
}

bool FloatWavWriter::flushBuffer() {
    if (buffered_ == 0) return true;
    const size_t want = buffered_;
    buffered_ = 0;
    if (std::fwrite(buffer_, 1, want, file_) != want) return fail("cannot write");
    return true;
}

bool FloatWavWriter::writeStereo(const float* left, const float* right, int32_t frames) {
    if (!file_ || failed_) return false;
    if (channels_ != 2 || frames < 0 || !left || !right) {
        failed_ = true;
        error_ = "bad stereo write";
        return false;
    }
    if (frames_ + static_cast<uint64_t>(frames) > maxFloatWavFrames(channels_)) {
        failed_ = true;
        error_ = "too long for a WAV file";
        return false;
    }
    for (int32_t i = 0; i < frames; ++i) {
        if (buffered_ + 8 > sizeof buffer_ && !flushBuffer()) return false;
        putFloat(buffer_ + buffered_, left[i]);
        putFloat(buffer_ + buffered_ + 4, right[i]);
        buffered_ += 8;
    }
    frames_ += static_cast<uint64_t>(frames);
    return true;
}

bool FloatWavWriter::writeInterleaved(const float* samples, int32_t frames) {
    if (!file_ || failed_) return false;
    if (frames < 0 || (!samples && frames > 0)) {
        failed_ = true;
        error_ = "bad write";
        return false;
    }
    if (frames_ + static_cast<uint64_t>(frames) > maxFloatWavFrames(channels_)) {
        failed_ = true;
        error_ = "too long for a WAV file";
        return false;
    }
    const int64_t count = int64_t{frames} * channels_;
    for (int64_t i = 0; i < count; ++i) {
        if (buffered_ + 4 > sizeof buffer_ && !flushBuffer()) return false;
        putFloat(buffer_ + buffered_, samples[i]);
        buffered_ += 4;
    }
    frames_ += static_cast<uint64_t>(frames);
    return true;
}

bool FloatWavWriter::finish() {
    if (!file_) return false;
    bool ok = !failed_ && flushBuffer();
    if (ok) {
        uint8_t header[kFloatWavHeaderSize];
        buildHeader(header, channels_, sampleRate_, frames_);
        ok = std::fseek(file_, 0, SEEK_SET) == 0 &&
             std::fwrite(header, 1, sizeof header, file_) == sizeof header;
        if (!ok) fail("cannot write");
    }
    if (std::fclose(file_) != 0 && ok) ok = fail("cannot close");
    file_ = nullptr;
    return ok;
}

}  // namespace velt::corvane::tools
