#include <cstdlib>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "tools/toolkit/midi_file_reader.h"

namespace velt::corvane::fuzz {

int fuzzMidiFile(const uint8_t* data, size_t size) {
    tools::MidiSong song;
    const tools::MidiFileResult result = tools::readMidiFile(data, size, song);
    if (!result.ok) return 0;
    // The renderer's rate and an extreme one, to reach the saturating arithmetic.
    tools::assignFrames(song, 44100);
    tools::assignFrames(song, 0xFFFFFFFFu);
    // A SysEx event must point inside the kept bytes; the renderer copies them unchecked.
    for (const tools::SongEvent& e : song.events) {
        if (e.status != 0xF0) continue;
        if (e.sysExLength > tools::kSongSysExLimit ||
            uint64_t{e.sysExOffset} + e.sysExLength > song.sysExBytes.size())
            std::abort();
    }
    return 0;
}

}  // namespace velt::corvane::fuzz
