// The instrument's SysEx messages: F0 7D 10 23, a block (00 system, 02 part, 04 tone,
// 06 sampler), an index, a start address, data bytes and F7.
#include "fuzz/seeds/seed_folder.h"

namespace velt::corvane::fuzz::seeds {
namespace {

std::vector<uint8_t> message(uint8_t block, uint8_t index, uint8_t address,
                             const std::vector<uint8_t>& data) {
    std::vector<uint8_t> m = {0xF0, 0x7D, 0x10, 0x23, block, index, address};
    m.insert(m.end(), data.begin(), data.end());
    m.push_back(0xF7);
    return m;
}

std::vector<uint8_t> run(uint8_t first, size_t count) {
    std::vector<uint8_t> v;
    for (size_t i = 0; i < count; ++i) v.push_back(static_cast<uint8_t>((first + 9 * i) & 0x7F));
    return v;
}

}  // namespace

void writeSysExSeeds(SeedFolder& out) {
    out.add("master_volume.syx", message(0x00, 0, 0, {100}));
    out.add("master_both.syx", message(0x00, 0, 0, {127, 70}));
    out.add("master_tune_only.syx", message(0x00, 0, 1, {0}));
    out.add("part_modes.syx", message(0x02, 3, 0, {2, 3}));
    out.add("part_mode_sampler.syx", message(0x02, 9, 1, {3}));
    out.add("tone_name.syx",
            message(0x04, 0, 0,
                    {'F', 'u', 'z', 'z', ' ', 't', 'o', 'n', 'e', ' ', '0', '0', '0', '0', '0', '1'}));
    out.add("tone_fields.syx", message(0x04, 5, 0x12, run(1, 14)));
    out.add("tone_all.syx", message(0x04, 127, 0, run(3, 32)));
    out.add("tone_wave_high.syx", message(0x04, 0, 0x18, {0x7F}));
    out.add("sampler_fields.syx", message(0x06, 60, 0x10, run(2, 10)));
    out.add("sampler_all.syx", message(0x06, 0, 0, run(5, 26)));
    out.add("beyond_records.syx", message(0x04, 0x7F, 0x20, {1, 2}));
    out.add("other_device.syx", std::vector<uint8_t>{0xF0, 0x7D, 0x11, 0x23, 0x04, 0, 0, 1, 0xF7});
    out.add("short.syx", std::vector<uint8_t>{0xF0, 0x7D, 0x10, 0x23, 0xF7});

    // Several messages in one input, with a part set to Sampler and its presets filled.
    std::vector<uint8_t> song;
    for (const auto& m : {message(0x02, 0, 0, {3, 3}), message(0x06, 60, 0x10, run(0, 10)),
                          message(0x04, 0, 0x14, {1, 8, 64, 15, 1}), message(0x00, 0, 0, {127, 64}),
                          message(0x02, 1, 1, {0})})
        song.insert(song.end(), m.begin(), m.end());
    out.add("several.syx", song);
    // One message longer than an event keeps.
    out.add("too_long.syx", message(0x04, 1, 0, run(0, 300)));
}

}  // namespace velt::corvane::fuzz::seeds
