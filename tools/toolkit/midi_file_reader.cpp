#include "tools/toolkit/midi_file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "tools/toolkit/midi_track_parser.h"

namespace velt::corvane::tools {

namespace {

// Real songs are far smaller; the cap bounds the event list a hostile file can make.
constexpr size_t kMaxMidiFileSize = 32u * 1024u * 1024u;

uint32_t readBe32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

uint16_t readBe16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

MidiFileResult failure(MidiSong& song, const std::string& message) {
    song = MidiSong{};
    return MidiFileResult{false, message};
}

std::string at(size_t offset) {
    return " at byte " + std::to_string(offset);
}

// Fills the division fields from the header word; false for a division that gives no time.
bool applyDivision(uint16_t division, MidiSong& song, std::string& error) {
    if (division & 0x8000) {
        const int32_t fps = -static_cast<int32_t>(static_cast<int8_t>(division >> 8));
        const int32_t ticks = division & 0xFF;
        if (fps != 24 && fps != 25 && fps != 29 && fps != 30) {
            error = "SMPTE division with " + std::to_string(fps) +
                    " frames per second (24, 25, 29 or 30 expected)";
            return false;
        }
        if (ticks == 0) {
            error = "SMPTE division with 0 ticks per frame";
            return false;
        }
        song.smpte = true;
        song.smpteFormat = fps;
        song.ticksPerFrame = ticks;
        return true;
    }
    if (division == 0) {
        error = "time division of 0 ticks per quarter note";
        return false;
    }
    song.ticksPerQuarter = division;
    return true;
}

}  // namespace

MidiFileResult readMidiFile(const uint8_t* data, size_t size, MidiSong& song) {
    song = MidiSong{};
    if (!data && size > 0) return failure(song, "no data");
    if (size > kMaxMidiFileSize)
        return failure(song, "file too large for a MIDI file (" + std::to_string(size) + " bytes)");
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0)
        return failure(song, "not a Standard MIDI File (no MThd header)");
    const uint32_t headerLength = readBe32(data + 4);
    if (headerLength < 6)
        return failure(song, "header chunk of " + std::to_string(headerLength) + " bytes (6 expected)");
    if (headerLength > size - 8) return failure(song, "header chunk runs past the end of the file");
    const uint16_t format = readBe16(data + 8);
    const uint16_t trackCount = readBe16(data + 10);
    const uint16_t division = readBe16(data + 12);
    if (format == 2) return failure(song, "format 2 (independent sequences) is not supported");
    if (format > 2) return failure(song, "unknown file format " + std::to_string(format));
    if (format == 0 && trackCount != 1)
        return failure(song, "format 0 file with " + std::to_string(trackCount) + " tracks (1 expected)");
    std::string error;
    if (!applyDivision(division, song, error)) return failure(song, error);
    song.format = format;
    song.trackCount = trackCount;

    TrackParseOutput output{song.events, song.tempoMap, song.sysExBytes, song.endTick};
    size_t offset = 8 + size_t{headerLength};
    uint16_t tracksRead = 0;
    while (tracksRead < trackCount) {
        if (size - offset < 8)
            return failure(song, "file ends after " + std::to_string(tracksRead) + " of " +
                                     std::to_string(trackCount) + " tracks");
        const uint32_t length = readBe32(data + offset + 4);
        const bool isTrack = std::memcmp(data + offset, "MTrk", 4) == 0;
        if (length > size - offset - 8)
            return failure(song, std::string(isTrack ? "track chunk" : "chunk") + at(offset) + " claims " +
                                     std::to_string(length) + " bytes but only " +
                                     std::to_string(size - offset - 8) + " remain");
        if (isTrack) {
            if (!parseTrack(data + offset + 8, length, offset + 8, tracksRead, output, error))
                return failure(song, "track " + std::to_string(tracksRead + 1) + ": " + error);
            ++tracksRead;
        }
        // Chunks of other kinds are skipped, as readers of the format must.
        offset += 8 + size_t{length};
    }

    // Tracks were appended one after another, so a stable sort by tick merges
    // them by time, then track index, then position in the track.
    auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
    std::stable_sort(song.events.begin(), song.events.end(), byTick);
    std::stable_sort(song.tempoMap.begin(), song.tempoMap.end(), byTick);
    return MidiFileResult{true, {}};
}

MidiFileResult readMidiFile(const char* path, MidiSong& song) {
    song = MidiSong{};
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) return MidiFileResult{false, "cannot open: " + std::string(std::strerror(errno))};
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    bool tooLarge = false;
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, file);
        if (n == 0) break;
        if (bytes.size() + n > kMaxMidiFileSize) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) return MidiFileResult{false, "read error"};
    if (tooLarge) return MidiFileResult{false, "file too large for a MIDI file"};
    return readMidiFile(bytes.data(), bytes.size(), song);
}

}  // namespace velt::corvane::tools
