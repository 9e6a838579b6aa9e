// Ticks to frames, exactly: seconds are kept as integer fractions so that no
// rounding error accumulates over a long song.
#include <cstdint>
#include <limits>

#include "tools/toolkit/midi_file_reader.h"

namespace velt::corvane::tools {

namespace {

using Wide = unsigned __int128;

constexpr uint32_t kDefaultMicrosPerQuarter = 500000;  // 120 beats per minute

int64_t saturate(Wide frames) {
    constexpr auto kMax = static_cast<Wide>(std::numeric_limits<int64_t>::max());
    return frames > kMax ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(frames);
}

/// Walks a tempo map forward; elapsed() is tick-microseconds per quarter note
/// (seconds × ticksPerQuarter × 10^6) up to the last tick advanced to.
class TempoWalker {
public:
    explicit TempoWalker(const std::vector<TempoChange>& map) : map_(map) {}

    /// Cheapest when ticks come in ascending order; an earlier tick restarts the walk.
    Wide elapsedAt(uint64_t tick) {
        if (tick < segmentTick_) {
            next_ = 0;
            segmentTick_ = 0;
            micros_ = kDefaultMicrosPerQuarter;
            elapsed_ = 0;
        }
        while (next_ < map_.size() && map_[next_].tick <= tick) {
            elapsed_ += static_cast<Wide>(map_[next_].tick - segmentTick_) * micros_;
            segmentTick_ = map_[next_].tick;
            micros_ = map_[next_].microsPerQuarter;
            ++next_;
        }
        return elapsed_ + static_cast<Wide>(tick - segmentTick_) * micros_;
    }

private:
    const std::vector<TempoChange>& map_;
    size_t next_ = 0;
    uint64_t segmentTick_ = 0;
    uint32_t micros_ = kDefaultMicrosPerQuarter;
    Wide elapsed_ = 0;
};

/// floor(seconds × rate) for an SMPTE tick count.
int64_t smpteFrame(const MidiSong& song, uint64_t tick, uint32_t sampleRate) {
    // 29 stands for 29.97 frames per second: 30000 / 1001.
    const Wide num = song.smpteFormat == 29 ? 1001 : 1;
    const Wide den = static_cast<Wide>(song.smpteFormat == 29 ? 30000 : song.smpteFormat) *
                     static_cast<Wide>(song.ticksPerFrame > 0 ? song.ticksPerFrame : 1);
    return saturate(static_cast<Wide>(tick) * num * sampleRate / den);
}

int64_t ppqFrame(const MidiSong& song, Wide elapsed, uint32_t sampleRate) {
    const Wide den = static_cast<Wide>(song.ticksPerQuarter > 0 ? song.ticksPerQuarter : 1) * 1000000u;
    return saturate(elapsed * sampleRate / den);
}

}  // namespace

int64_t tickToFrame(const MidiSong& song, uint64_t tick, uint32_t sampleRate) {
    if (song.smpte) return smpteFrame(song, tick, sampleRate);
    TempoWalker walker(song.tempoMap);
    return ppqFrame(song, walker.elapsedAt(tick), sampleRate);
}

void assignFrames(MidiSong& song, uint32_t sampleRate) {
    if (song.smpte) {
        for (SongEvent& e : song.events) e.frame = smpteFrame(song, e.tick, sampleRate);
    } else {
        TempoWalker walker(song.tempoMap);
        for (SongEvent& e : song.events) e.frame = ppqFrame(song, walker.elapsedAt(e.tick), sampleRate);
    }
    song.endFrame = tickToFrame(song, song.endTick, sampleRate);
}

}  // namespace velt::corvane::tools
