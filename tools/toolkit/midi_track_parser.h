// One MTrk chunk into song events; used by the MIDI file reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/toolkit/midi_file_reader.h"

namespace velt::corvane::tools {

/// Where a track's results go; shared by all tracks of a file.
struct TrackParseOutput {
    std::vector<SongEvent>& events;
    std::vector<TempoChange>& tempoMap;
    std::vector<uint8_t>& sysExBytes;
    uint64_t& endTick;  ///< raised to the latest tick seen
};

/// Parses length bytes of track data (fileOffset: where they start in the file,
/// for messages). Appends in file order; false with error set on malformed data.
bool parseTrack(const uint8_t* data, size_t length, size_t fileOffset, uint16_t track, TrackParseOutput& out,
                std::string& error);

}  // namespace velt::corvane::tools
