// The sound the JACK tests play: a 441 Hz sine in slot 0 (tone 0) and a 441 Hz square in
// slot 1 (tone 1), both looping whole cycles, with an instant attack and no decay; part 2
// goes to output 2. Written as WAV files and a state chunk for --state-in.
#pragma once

#include <string>
#include <vector>

namespace velt::corvane::testing {

/// Fundamental of both waves, and the key that plays them at 440 Hz.
constexpr double kTestWaveHz = 441.0;
constexpr int kA4 = 69;

/// Writes the two WAV files into dir and the state chunk (on a new instance of bundle, with
/// voiceCount voices) to chunkPath; false with error set.
bool writeTestSound(const std::string& bundle, const std::string& dir, int voiceCount,
                    const std::string& chunkPath, std::string& error);

/// Frequency of the recording between frames from and to, from the periods between its rising
/// zero crossings.
double measureHz(const std::vector<float>& x, size_t from, size_t to, double rate);
/// Root mean square between the frames.
double rms(const std::vector<float>& x, size_t from, size_t to);
/// RMS of the first difference over the RMS: larger for brighter tones.
double brightness(const std::vector<float>& x, size_t from, size_t to);
/// The first frame at or after from whose magnitude exceeds threshold; x.size() when none.
size_t onset(const std::vector<float>& x, size_t from, float threshold = 1.0e-4f);

}  // namespace velt::corvane::testing
