// WAV files of every depth and channel count, with odd and extra chunks, and a few
// that must be refused.
#include "fuzz/fuzz_bodies/small_wav.h"
#include "fuzz/seeds/seed_folder.h"

namespace velt::corvane::fuzz::seeds {

void writeWavSeeds(SeedFolder& out) {
    int32_t n = 0;
    for (int32_t bits : {8, 16, 24, 32}) {
        for (int32_t channels : {1, 2}) {
            WavShape s;
            s.bits = bits;
            s.channels = channels;
            s.frames = 33 + bits;
            const uint8_t encoding = static_cast<uint8_t>(n % 3);
            out.addWithMode("plain_" + std::to_string(bits) + "_" + std::to_string(channels) + ".wav",
                            encoding, makeWav(s));
            s.oddChunkBefore = true;
            s.oddChunkAfter = true;
            s.trailingChunk = true;
            s.frames = 7;  // odd data size for 8-bit mono
            out.addWithMode("chunks_" + std::to_string(bits) + "_" + std::to_string(channels) + ".wav",
                            static_cast<uint8_t>((n + 1) % 3), makeWav(s));
            ++n;
        }
    }
    WavShape extended;
    extended.fmtExtra = 22;
    out.addWithMode("fmt_extra.wav", 2, makeWav(extended));
    WavShape oddExtra;
    oddExtra.fmtExtra = 3;
    out.addWithMode("fmt_odd_extra.wav", 1, makeWav(oddExtra));
    WavShape floats;
    floats.formatTag = 3;
    floats.bits = 32;
    out.addWithMode("float_tag.wav", 0, makeWav(floats));
    WavShape surround;
    surround.channels = 6;
    out.addWithMode("six_channels.wav", 0, makeWav(surround));
    WavShape empty;
    empty.frames = 0;
    out.addWithMode("no_frames.wav", 0, makeWav(empty));
    WavShape twelve;
    twelve.bits = 12;
    out.addWithMode("twelve_bits.wav", 2, makeWav(twelve));
    out.addWithMode("unknown_encoding.wav", 3, smallWav(1, 16, 10));
    std::vector<uint8_t> cut = smallWav(2, 16, 40);
    cut.resize(cut.size() - 9);
    out.addWithMode("truncated_data.wav", 0, cut);
    out.addWithMode("header_only.wav", 1, std::vector<uint8_t>(cut.begin(), cut.begin() + 12));
}

}  // namespace velt::corvane::fuzz::seeds
