// Edits of a saved Ardour 7 session (.ardour) that its Lua API cannot make: the MIDI source and
// region, the session range, the plug-in's chunk, and the track's MIDI output.
#pragma once

#include <cstdint>
#include <string>

namespace velt::corvane::testing {

/// The text inside the first <chunk> element; empty when there is none.
std::string chunkText(const std::string& xml);
/// Replaces the text of the first <chunk> element; false when there is none.
bool replaceChunk(std::string& xml, const std::string& base64);

/// Adds the SMF source (a file in the session's midifiles folder), its whole-file region and the
/// same region at the start of the named playlist, ardourTicks long (1920 a quarter note).
/// Controller 7 and the pitch bend of channel 1 play back as the steps the file has, not as
/// lines Ardour would draw between them. False when the session has a source or region already.
bool addMidiRegion(std::string& xml, const std::string& fileName, const std::string& playlist,
                   int64_t ardourTicks);

/// Sets the session range to frames 0 .. endFrame; false when the session has locations already.
bool setSessionRange(std::string& xml, int64_t endFrame, int sampleRate);

/// Removes the MIDI port from the named track's outputs. With it, Ardour 7 exports the track's
/// audio as silence; a track made in its editor has none.
bool dropMidiOutput(std::string& xml, const std::string& track);

}  // namespace velt::corvane::testing
