// Host scripts (fuzz_bodies/host_script.h): notes and controllers at equal and outside
// offsets, SysEx of every awkward size, every legacy controller number, buses switched
// off, flushes, bypass, and saves, restores and editor edits between blocks.
#include "fuzz/fuzz_bodies/host_script.h"
#include "fuzz/seeds/seed_folder.h"

namespace velt::corvane::fuzz::seeds {

using namespace host;

void writeHostSeeds(SeedFolder& out) {
    Writer notes;
    notes.toggleActive().block(256);
    for (int ch = 0; ch < 16; ++ch) notes.noteOn(static_cast<uint8_t>(ch * 3), ch, 48 + ch, 200);
    notes.noteOn(10, 0, 60, 232).noteOff(10, 0, 60).noteOn(10, 0, 60, kNaN).noteOn(20, 40, 200, kOne);
    notes.polyPressure(30, 0, 60, 120);
    notes.mapped(0, 7, 0, 232).mapped(0, 7, 0, 8).mapped(0, 7, 100, 120).mapped(3, 129, 12, kHalf);
    notes.mapped(1, 130, 0, 40).mapped(0, 64, 5, kOne).mapped(200, 255, 5, 100).rawId(0x42, 0, kOne);
    notes.run(3, 128).block(1).noteOff(0, 0, 60).noteOff(kPastEnd, 3, 51).mapped(0, 64, 0, kZero);
    notes.block(0).noteOn(0, 2, 70, 150).run(2, 255).roundTrip();
    out.add("notes_and_controllers.host", notes.bytes());

    Writer sysex;
    sysex.toggleActive().block(64);
    for (uint8_t size : {0, 1, 2, 9, 0xC4, 0xFF})
        sysex.sysEx(static_cast<uint8_t>(size & 31), size, {0x41, 0x10, 0x42}, 0xF7);
    sysex.sysEx(3, 11, {0x7E, 0x7F, 0x09, 0x01, 0xF7}, 0x00);
    sysex.run(2, 64).roundTrip();
    out.add("sysex_sizes.host", sysex.bytes());

    Writer legacy;
    legacy.toggleActive();
    for (int number = 0; number < 256; number += 32) {
        legacy.block(32);
        for (int k = 0; k < 32; ++k) {
            const int n = number + k;
            legacy.legacy(static_cast<uint8_t>(k), static_cast<int8_t>(n % 19 - 2), static_cast<uint8_t>(n),
                          static_cast<int8_t>(n * 7 - 100), static_cast<int8_t>(n - 128));
        }
    }
    legacy.block(16)
        .legacy(0, 0, 129, 0, 64)
        .legacy(0, 0, 130, 5)
        .legacy(1, -1, 7, 100)
        .legacy(2, 16, 7, 100);
    legacy.noteOn(3, 0, 64, 180).run(4, 200);
    out.add("legacy_controllers.host", legacy.bytes());

    Writer buses;
    buses.toggleActive().block(100).noteOn(0, 0, 60, 200).noteOn(0, 1, 64, 200);
    for (uint8_t how = 0; how < 4; ++how) buses.buses(0xAAAA, how).block(77).buses(0x0001, how).block(13);
    buses.block(0, kFlush).noteOn(0, 0, 67, 200).mapped(0, 7, 0, 100);
    buses.block(50, kOutputCount, 15).block(50, kOutputCount, 0).block(50, kOutputCount, 32);
    buses.block(50, kNullOutputs)
        .buses(0xFFFF, kNullChannels)
        .block(256)
        .buses(0, 0)
        .block(256)
        .toggleActive();
    buses.block(20).toggleActive().run(1, 20);
    out.add("buses_and_flushes.host", buses.bytes());

    Writer bypass;
    bypass.toggleActive().block(64).noteOn(0, 0, 60, 200).bypass(10, kOne).mapped(0, 7, 0, 8);
    bypass.block(64).bypass(0, kAlmostOne).block(64).bypass(0, kOne).bypass(5, kNaN).block(64).run(2, 64);
    bypass.roundTrip().block(64).bypass(0, kZero);
    out.add("bypass.host", bypass.bytes());

    Writer edits;
    edits.valueChange(0x00, 1, 200).valueChange(0x10, 7, 50).valueChange(0x01, 2, kNaN).roundTrip();
    edits.toggleActive().valueChange(0x10, 10, 30).roundTrip().block(128).noteOn(0, 0, 60, 200);
    edits.cutState(40, 3, 0xFF).run(1, 100).rawState({0x43, 0x56, 0x53, 0x31, 0x00}).roundTrip();
    edits.valueChange(0x00, 3, kOne).roundTrip().toggleActive().cutState(0xFFFF, 20, 0x7F).roundTrip();
    out.add("state_and_edits.host", edits.bytes());

    Writer elsewhere;
    elsewhere.saveElsewhere().toggleActive().block(128).noteOn(0, 0, 60, 200).saveElsewhere().run(4, 128);
    elsewhere.valueChange(0x10, 7, 50)
        .saveElsewhere()
        .roundTrip()
        .block(64)
        .noteOff(3, 0, 60)
        .saveElsewhere();
    elsewhere.toggleActive().saveElsewhere().cutState(100, 0, 0).toggleActive().run(2, 32);
    out.add("saves_elsewhere.host", elsewhere.bytes());

    Writer offsets;
    offsets.toggleActive().block(32);
    for (uint8_t code = kMinusOne; code <= kMinusBlock; ++code) offsets.noteOn(code, 0, 60 + code % 12, 180);
    for (uint8_t code = kMinusOne; code <= kMinusBlock; ++code) offsets.mapped(0, 10, code, code);
    offsets.unknown(0, 7).unknown(5, 0xFFFE).unknown(5, 100).run(3, 32);
    out.add("odd_offsets.host", offsets.bytes());
}

}  // namespace velt::corvane::fuzz::seeds
