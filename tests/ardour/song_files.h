// The files the Ardour test hands to both hosts: the song, the plug-in's state as Ardour
// keeps it, and the float WAV files both write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::testing {

/// Ticks a quarter note in the test's songs; at 120 bpm and 48000 Hz a tick is 50 frames.
constexpr int kSongTicksPerQuarter = 480;
/// Ticks a quarter note in Ardour's beat time.
constexpr int kArdourTicksPerQuarter = 1920;
/// Tick of the song's last event.
constexpr int kSongLastTick = 2400;

/// A format 0 file on channel 1 without a tempo event (120 bpm): one SysEx write at tick 0 that
/// points tone preset 0 at sample slot 1, CC 7, a chord, a re-struck key (note off and note on at
/// one tick), a second note, pitch bend up and back, CC 7 again, and all notes off at the end.
std::vector<uint8_t> testSong();
/// A format 0 file with only its end of track.
std::vector<uint8_t> emptySong();

/// Ardour's VST 3 chunk: the SDK's preset container with the state chunk as its "Comp" entry.
std::vector<uint8_t> presetContainer(const std::string& classId, const std::vector<uint8_t>& component);
/// The "Comp" entry of a preset container; false when the container is malformed.
bool componentOf(const std::vector<uint8_t>& container, std::vector<uint8_t>& component);

std::string base64Encode(const std::vector<uint8_t>& bytes);
/// Whitespace is skipped; false on any other character outside the alphabet.
bool base64Decode(const std::string& text, std::vector<uint8_t>& bytes);

/// A 32-bit float WAV file's interleaved samples.
struct FloatWav {
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;
    int64_t frames() const { return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0; }
};
/// False when the file is not a whole 32-bit float WAV file (a data chunk cut short included).
bool readFloatWav(const std::string& path, FloatWav& wav);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);

}  // namespace velt::corvane::testing
