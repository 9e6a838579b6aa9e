#include "tests/jack/test_sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "host/state_chunk.h"
#include "tests/wav/wav_builder.h"
#include "tools/toolkit/plugin_session.h"

namespace velt::corvane::testing {

namespace {

constexpr uint32_t kWaveRate = 44100;
constexpr uint32_t kWaveFrames = 44100;  // one second: 441 whole cycles of 100 frames

bool writeWav16(const std::string& path, const std::vector<int16_t>& samples) {
    return wavtest::writeFile(path, wavtest::simpleWav(1, kWaveRate, 16, {samples.begin(), samples.end()}));
}

void setSlot(state::SlotEntry& slot, const std::string& path) {
    slot.present = true;
    slot.path = path;
    slot.encoding = 0;
    slot.sampleRate = static_cast<float>(kWaveRate);
    slot.Pitch = static_cast<float>(kTestWaveHz);
    slot.start = 0;
    slot.end = kWaveFrames;
    slot.loopStart = 0;
    slot.loopEnd = kWaveFrames;
}

}  // namespace

bool writeTestSound(const std::string& bundle, const std::string& dir, int voiceCount,
                    const std::string& chunkPath, std::string& error) {
    std::vector<int16_t> sine(kWaveFrames), square(kWaveFrames);
    for (uint32_t i = 0; i < kWaveFrames; ++i) {
        sine[i] = static_cast<int16_t>(std::lround(16000.0 * std::sin(2.0 * M_PI * (i % 100) / 100.0)));
        square[i] = static_cast<int16_t>(i % 100 < 50 ? 16000 : -16000);
    }
    const std::string sinePath = dir + "/jack-sine.wav";
    const std::string squarePath = dir + "/jack-square.wav";
    if (!writeWav16(sinePath, sine) || !writeWav16(squarePath, square)) {
        error = "cannot write the test's WAV files in " + dir;
        return false;
    }
    tools::PluginSession session;
    state::StateChunk chunk;
    if (!session.open(bundle, error) || !session.readState(chunk, error)) return false;
    chunk.voiceCount = voiceCount;
    setSlot(chunk.slots[0], sinePath);
    setSlot(chunk.slots[1], squarePath);
    for (int t = 0; t < 2; ++t) {
        chunk.tones[t].wave = t;
        chunk.tones[t].ar = 127;
        chunk.tones[t].sl = 0;
    }
    chunk.parts[1].outputBus = 1;
    const std::vector<uint8_t> bytes = state::stateChunkBytes(chunk);
    if (!wavtest::writeFile(chunkPath, bytes)) {
        error = "cannot write " + chunkPath;
        return false;
    }
    return true;
}

double measureHz(const std::vector<float>& x, size_t from, size_t to, double rate) {
    std::vector<double> periods;
    double last = -1.0;
    for (size_t i = from + 1; i < to && i < x.size(); ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double at = static_cast<double>(i - 1) + x[i - 1] / static_cast<double>(x[i - 1] - x[i]);
            if (last >= 0.0) periods.push_back(at - last);
            last = at;
        }
    }
    if (periods.empty()) return 0.0;
    // A cycle the server drops on a busy machine (an xrun) leaves one long gap between two
    // crossings; the periods around the median carry the pitch, the gap does not.
    std::vector<double> sorted = periods;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2),
                     sorted.end());
    const double median = sorted[sorted.size() / 2];
    double sum = 0.0;
    int count = 0;
    for (double p : periods) {
        if (p > 0.95 * median && p < 1.05 * median) {
            sum += p;
            ++count;
        }
    }
    return count > 0 && sum > 0.0 ? rate * count / sum : 0.0;
}

double rms(const std::vector<float>& x, size_t from, size_t to) {
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = from; i < to && i < x.size(); ++i, ++n) sum += static_cast<double>(x[i]) * x[i];
    return n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

double brightness(const std::vector<float>& x, size_t from, size_t to) {
    double diff = 0.0;
    for (size_t i = from + 1; i < to && i < x.size(); ++i) {
        const double d = static_cast<double>(x[i]) - x[i - 1];
        diff += d * d;
    }
    const double level = rms(x, from, to);
    const double n = static_cast<double>(to > from + 1 ? to - from - 1 : 1);
    return level > 0.0 ? std::sqrt(diff / n) / level : 0.0;
}

size_t onset(const std::vector<float>& x, size_t from, float threshold) {
    for (size_t i = from; i < x.size(); ++i)
        if (std::fabs(x[i]) > threshold) return i;
    return x.size();
}

}  // namespace velt::corvane::testing
