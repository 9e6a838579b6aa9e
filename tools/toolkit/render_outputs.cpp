#include "tools/toolkit/render_outputs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace velt::corvane::tools {

namespace {

constexpr int64_t kProgressSeconds = 10;
constexpr int64_t kProgressAbove = 30;  // seconds of audio

/// Creates an empty, uniquely named file beside finalPath; its name, or "" on failure.
std::string makeTempFile(const std::string& finalPath) {
    std::string name = finalPath + ".partXXXXXX";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = mkstemp(buffer.data());
    if (fd < 0) return {};
    // mkstemp makes the file private; the finished file gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    return std::string(buffer.data());
}

bool hasSound(const float* left, const float* right, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i)
        if (left[i] != 0.0f || right[i] != 0.0f) return true;
    return false;
}

}  // namespace

std::string outputBase(const std::string& outPath) {
    if (outPath.size() > 4) {
        std::string tail = outPath.substr(outPath.size() - 4);
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
        if (tail == ".wav") return outPath.substr(0, outPath.size() - 4);
    }
    return outPath;
}

std::string busFileName(const std::string& outPath, int32_t bus) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "-%02d.wav", static_cast<int>(bus + 1));
    return outputBase(outPath) + suffix;
}

RenderOutputs::~RenderOutputs() {
    discard();
}

bool RenderOutputs::addTarget(const std::string& finalPath, bool startNow, std::string& error) {
    std::unique_ptr<Target> target(new (std::nothrow) Target);
    if (!target) {
        error = "out of memory";
        return false;
    }
    target->finalPath = finalPath;
    target->tempPath = makeTempFile(finalPath);
    if (target->tempPath.empty()) {
        error = finalPath + ": cannot create a temporary file beside it: " + std::strerror(errno);
        return false;
    }
    targets_.push_back(std::move(target));
    if (startNow && !startTarget(*targets_.back(), 0)) {
        error = writeError_;
        return false;
    }
    return true;
}

bool RenderOutputs::startTarget(Target& t, int64_t silentFrames) {
    if (!t.writer.open(t.tempPath.c_str(), 2, fileRate_)) {
        writeError_ = t.finalPath + ": " + t.writer.error();
        return false;
    }
    t.started = true;
    // The frames before the bus first sounded were silence.
    const float* zeros = silence_.get();
    while (silentFrames > 0) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(silentFrames, blockSize_));
        if (!t.writer.writeStereo(zeros, zeros, n)) {
            writeError_ = t.finalPath + ": " + t.writer.error();
            return false;
        }
        silentFrames -= n;
    }
    return true;
}

bool RenderOutputs::open(const std::string& outPath, OutputMode mode, uint32_t sampleRate, int32_t blockSize,
                         std::string& error) {
    discard();
    mode_ = mode;
    blockSize_ = std::max(blockSize, 1);
    fileRate_ = sampleRate;
    mixPeak_ = 0.0f;
    writeError_.clear();
    if (mode == OutputMode::Mix) {
        mix_.reset(new (std::nothrow) float[2 * static_cast<size_t>(blockSize_)]);
        if (!mix_) {
            error = "out of memory";
            return false;
        }
        if (!addTarget(outPath, true, error)) {
            discard();
            return false;
        }
        return true;
    }
    silence_.reset(new (std::nothrow) float[static_cast<size_t>(blockSize_)]());
    if (!silence_) {
        error = "out of memory";
        return false;
    }
    // Every name is reserved now; a bus's file gets samples only once it sounds,
    // so silent buses cost no disk space.
    for (int32_t bus = 0; bus < kOutputBusCount; ++bus) {
        if (!addTarget(busFileName(outPath, bus), false, error)) {
            discard();
            return false;
        }
    }
    return true;
}

void RenderOutputs::setProgress(std::ostream* err, int64_t totalFrames, uint32_t sampleRate) {
    progress_ = err;
    totalFrames_ = totalFrames;
    sampleRate_ = sampleRate;
    nextReport_ = kProgressSeconds * sampleRate;
    if (sampleRate == 0 || totalFrames <= kProgressAbove * int64_t{sampleRate}) progress_ = nullptr;
}

void RenderOutputs::reportProgress(int64_t renderedFrames) {
    if (!progress_ || renderedFrames < nextReport_) return;
    while (nextReport_ <= renderedFrames) nextReport_ += kProgressSeconds * sampleRate_;
    char line[96];
    std::snprintf(line, sizeof line, "corvane-render: %lld of %lld s rendered\n",
                  static_cast<long long>(renderedFrames / sampleRate_),
                  static_cast<long long>((totalFrames_ + sampleRate_ - 1) / sampleRate_));
    *progress_ << line << std::flush;
}

bool RenderOutputs::takeBlock(const float* const* channels, int32_t frames, int64_t blockStart) {
    if (frames <= 0) return true;
    if (mode_ == OutputMode::Mix) {
        if (targets_.empty() || frames > blockSize_) return false;
        float* left = mix_.get();
        float* right = mix_.get() + blockSize_;
        std::copy(channels[0], channels[0] + frames, left);
        std::copy(channels[1], channels[1] + frames, right);
        for (int32_t bus = 1; bus < kOutputBusCount; ++bus) {
            const float* l = channels[2 * bus];
            const float* r = channels[2 * bus + 1];
            for (int32_t i = 0; i < frames; ++i) {
                left[i] += l[i];
                right[i] += r[i];
            }
        }
        float peak = mixPeak_;
        for (int32_t i = 0; i < frames; ++i)
            peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
        mixPeak_ = peak;
        Target& t = *targets_.front();
        if (!t.writer.writeStereo(left, right, frames)) {
            writeError_ = t.finalPath + ": " + t.writer.error();
            return false;
        }
    } else {
        for (size_t bus = 0; bus < targets_.size(); ++bus) {
            Target& t = *targets_[bus];
            const float* l = channels[2 * bus];
            const float* r = channels[2 * bus + 1];
            if (!t.started) {
                if (!hasSound(l, r, frames)) continue;
                if (!startTarget(t, blockStart)) return false;
            }
            if (!t.writer.writeStereo(l, r, frames)) {
                writeError_ = t.finalPath + ": " + t.writer.error();
                return false;
            }
        }
    }
    reportProgress(blockStart + frames);
    return true;
}

bool RenderOutputs::commit(const std::array<bool, kOutputBusCount>& keep, std::vector<std::string>& written,
                           std::string& error) {
    written.clear();
    for (size_t i = 0; i < targets_.size(); ++i) {
        Target& t = *targets_[i];
        const bool wanted = t.started && (mode_ == OutputMode::Mix || (i < keep.size() && keep[i]));
        if (!wanted) continue;
        if (!t.writer.finish()) {
            error = t.finalPath + ": " + t.writer.error();
            discard();
            return false;
        }
    }
    for (size_t i = 0; i < targets_.size(); ++i) {
        Target& t = *targets_[i];
        const bool wanted = t.started && (mode_ == OutputMode::Mix || (i < keep.size() && keep[i]));
        if (!wanted) continue;
        if (std::rename(t.tempPath.c_str(), t.finalPath.c_str()) != 0) {
            error = t.finalPath + ": cannot move the finished file into place: " + std::strerror(errno);
            discard();
            return false;
        }
        t.tempPath.clear();
        written.push_back(t.finalPath);
    }
    discard();
    return true;
}

void RenderOutputs::discard() {
    for (std::unique_ptr<Target>& t : targets_) {
        if (!t) continue;
        if (!t->tempPath.empty()) std::remove(t->tempPath.c_str());
    }
    targets_.clear();
}

}  // namespace velt::corvane::tools
