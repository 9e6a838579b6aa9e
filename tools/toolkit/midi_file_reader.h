// Standard MIDI File reader: parses formats 0 and 1 from memory into one merged,
// time-ordered list of the events the engine understands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::tools {

/// One channel message or complete SysEx message of a song. A SysEx message
/// split into F7 continuation packets takes the time of the packet that closes it.
struct SongEvent {
    uint64_t tick = 0;         ///< absolute time in file ticks
    int64_t frame = 0;         ///< absolute frame, filled by assignFrames()
    uint32_t sysExOffset = 0;  ///< SysEx: first byte in MidiSong::sysExBytes
    uint16_t sysExLength = 0;  ///< SysEx: bytes kept after F0 (at most 256, F7 included)
    uint16_t track = 0;        ///< index of the track chunk it came from
    uint8_t status = 0;        ///< channel message: status byte with channel; 0xF0 for SysEx
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

/// A tempo meta event: from tick on, a quarter note lasts microsPerQuarter.
struct TempoChange {
    uint64_t tick = 0;
    uint32_t microsPerQuarter = 500000;
};

/// Everything of a file that the renderer needs.
struct MidiSong {
    int32_t format = 0;
    int32_t trackCount = 0;
    bool smpte = false;                 ///< time division in SMPTE frames instead of quarter notes
    int32_t ticksPerQuarter = 0;        ///< PPQ division
    int32_t smpteFormat = 0;            ///< 24, 25, 29 (29.97 drop-frame) or 30 frames per second
    int32_t ticksPerFrame = 0;          ///< SMPTE sub-frame resolution
    std::vector<SongEvent> events;      ///< merged: by tick, then track, then file position
    std::vector<TempoChange> tempoMap;  ///< by tick, then track, then file position
    std::vector<uint8_t> sysExBytes;    ///< payloads of the SysEx events
    uint64_t endTick = 0;               ///< latest event of any kind, end-of-track included
    int64_t endFrame = 0;               ///< endTick as a frame, filled by assignFrames()
};

/// Outcome of a parse; message says what was wrong and where.
struct MidiFileResult {
    bool ok = false;
    std::string message;
};

/// Largest number of SysEx bytes kept per message, as the engine keeps them.
constexpr size_t kSongSysExLimit = 256;

/// Parses size bytes at data into song (cleared first). Never reads outside
/// the buffer; on failure song is left empty.
MidiFileResult readMidiFile(const uint8_t* data, size_t size, MidiSong& song);

/// Reads the file at path and parses it.
MidiFileResult readMidiFile(const char* path, MidiSong& song);

/// Exact frame of a tick at sampleRate: floor(seconds × rate) in integer
/// arithmetic over the tempo map. Saturates at INT64_MAX.
int64_t tickToFrame(const MidiSong& song, uint64_t tick, uint32_t sampleRate);

/// Fills every event's frame and endFrame for sampleRate (events stay in order).
void assignFrames(MidiSong& song, uint32_t sampleRate);

}  // namespace velt::corvane::tools
