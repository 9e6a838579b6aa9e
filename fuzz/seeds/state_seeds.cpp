// State chunks: a fresh one, variants of every section, older versions and cut copies.
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "fuzz/seeds/seed_folder.h"
#include "host/state_chunk.h"

namespace velt::corvane::fuzz::seeds {
namespace {

using state::StateChunk;

std::unique_ptr<StateChunk> freshChunk() {
    std::unique_ptr<StateChunk> c(new (std::nothrow) StateChunk);
    if (!c) return c;
    for (TonePreset& t : c->tones) resetTonePreset(t);
    for (SamplerPreset& s : c->samplers) resetSamplerPreset(s);
    return c;
}

void addSlot(StateChunk& c, int32_t i, const std::string& path, int32_t encoding) {
    state::SlotEntry& s = c.slots[i];
    s.present = true;
    s.path = path;
    s.encoding = encoding;
    s.sampleRate = 22050.0f;
    s.Pitch = 440.0f;
    s.start = 10;
    s.end = 1000;
    s.loopStart = 100;
    s.loopEnd = 900;
}

}  // namespace

void writeStateSeeds(SeedFolder& out) {
    std::unique_ptr<StateChunk> c = freshChunk();
    if (!c) return;
    const std::vector<uint8_t> fresh = state::stateChunkBytes(*c);
    out.add("fresh.state", fresh);

    // Older versions and refused ones share the layout up to where they stop.
    for (uint8_t version : {0, 1, 2, 3, 5, 255}) {
        std::vector<uint8_t> v = fresh;
        v[0] = version;
        out.add("version_" + std::to_string(version) + ".state", v);
    }
    // Cut at the ends of sections and inside fields.
    for (size_t cut : {size_t{1}, size_t{3}, size_t{5}, size_t{13}, size_t{15}, size_t{16} + 11 * 5,
                       size_t{15} + 11 * 16 + 31 * 40 + 7, fresh.size() - 64, fresh.size() - 1}) {
        if (cut >= fresh.size()) continue;
        out.add("cut_" + std::to_string(cut) + ".state",
                std::vector<uint8_t>(fresh.begin(), fresh.begin() + static_cast<std::ptrdiff_t>(cut)));
    }

    std::unique_ptr<StateChunk> edited = freshChunk();
    if (!edited) return;
    edited->acceptSysEx = true;
    edited->nrpnEnabled = true;
    edited->masterVolume = 1.5f;
    edited->masterTune = 466.0f;
    edited->voiceCount = 1024;
    for (int32_t p = 0; p < kPartCount; ++p) {
        state::PartRecord& r = edited->parts[p];
        r.outputBus = p;
        r.defaultMode = p % 4;
        r.mode = (p + 1) % 4;
        r.program = 127 - p;
        r.pitchBend = p * 1000;
        r.pan = p * 8;
    }
    for (int32_t i = 0; i < kPresetCount; ++i) {
        edited->tones[i].wave = i;
        edited->tones[i].strc = i & 3;
        edited->samplers[i].smplNum = i;
        edited->samplers[i].octv = i & 15;
    }
    addSlot(*edited, 0, "/nonexistent/corvane/kick.wav", 0);
    addSlot(*edited, 1, "snare.wav", 1);
    addSlot(*edited, 2, "relative/dir/hat.wav", 2);
    addSlot(*edited, 127, "/nonexistent/corvane/unknown.wav", 7);
    const std::vector<uint8_t> full = state::stateChunkBytes(*edited);
    out.add("edited.state", full);
    out.add("edited_cut_in_slots.state",
            std::vector<uint8_t>(full.begin(),
                                 full.end() - static_cast<std::ptrdiff_t>(full.size() > 40 ? 40 : 0)));

    // Numbers a saved project should never hold.
    std::unique_ptr<StateChunk> odd = freshChunk();
    if (!odd) return;
    odd->masterVolume = std::numeric_limits<float>::quiet_NaN();
    odd->masterTune = -std::numeric_limits<float>::infinity();
    odd->voiceCount = 0;
    for (state::PartRecord& r : odd->parts) {
        r.outputBus = 200;
        r.mode = 9;
        r.pitchBendRange = 255;
        r.pitchBend = 65535;
    }
    for (TonePreset& t : odd->tones) {
        t.wave = 255;
        t.tl = 255;
        t.kfStart = 255;
        std::memset(t.presetName, 0xFF, kPresetNameLength);
    }
    addSlot(*odd, 5, "", 0);
    odd->slots[6].present = true;
    odd->slots[6].path = std::string(300, 'p');
    odd->slots[6].start = 0xFFFFFFFFu;
    odd->slots[6].sampleRate = -1.0f;
    out.add("odd_values.state", state::stateChunkBytes(*odd));

    // A path length that claims more than the chunk holds.
    std::vector<uint8_t> claim = fresh;
    const size_t firstSlot = fresh.size() - kSampleSlotCount;
    claim.resize(firstSlot);
    for (uint8_t b : {0x01, 0xFF, 0xFF, 0x00, 0x00, 0x78}) claim.push_back(b);  // ... then "x"
    out.add("path_length_claim.state", claim);
}

}  // namespace velt::corvane::fuzz::seeds
