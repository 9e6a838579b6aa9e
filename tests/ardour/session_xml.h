// Edits of a saved Ardour 7 session (.ardour) that its Lua API cannot make: the MIDI source and
// region, the session range, the plug-in's chunk, and the track's outputs.
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

/// Makes the named track's outputs two audio ports joined to the master bus's two inputs, and
/// nothing else. Ardour 7's Lua tool saves a new track's outputs as they stand at that moment,
/// and they are set up in its own time, after new_midi_track has returned: the saved file holds
/// a MIDI output, with or without the two audio outputs, and those joined to the master bus or
/// not yet (not in 5 saves of 8 here; such a session exports silence). Polling the track in the
/// script for three seconds does not change its outputs, so the file says what they are.
bool wireToMaster(std::string& xml, const std::string& track);

}  // namespace velt::corvane::testing
