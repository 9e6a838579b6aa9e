// Message scripts (fuzz_bodies/message_script.h): every group's value changes, every
// kind of file request on the fixture files, the handshake, bad attributes, and the
// same edits while the processor is active.
#include "fuzz/fuzz_bodies/message_script.h"
#include "fuzz/seeds/seed_folder.h"

namespace velt::corvane::fuzz::seeds {

using script::Writer;

void writeMessageSeeds(SeedFolder& out) {
    const uint8_t groups[] = {0x00, 0x01, 0x10, 0x20, 0x30};
    for (uint8_t group : groups) {
        Writer w;
        for (int code = 0; code <= 144; code += (code < 20 ? 1 : 9))
            w.valueChange(group, static_cast<uint8_t>(code), 200);
        w.valueChange(group, 1, 0).valueChange(group, 1, 255);
        out.add("values_group_" + std::to_string(group) + ".msg", w.bytes());
    }

    Writer imports;
    imports.fileSelect(0x21, 0, "a.wav").fileSelect(0x22, 1, "b.wav").fileSelect(0x23, 2, "a.wav");
    imports.fileSelect(0x11, 0, "t0.txt").fileSelect(0x12, 0, "t1.txt").fileSelect(0x15, 0, "t2.txt");
    imports.valueChange(0x30, 1, 0)
        .valueChange(0x30, 7, 10)
        .valueChange(0x30, 8, 240)
        .valueChange(0x30, 9, 60);
    imports.valueChange(0x30, 10, 200);
    out.add("imports.msg", imports.bytes());

    Writer exports;
    exports.fileSelect(0x91, 0, "out0.txt").fileSelect(0x92, 0, "out1.txt").fileSelect(0x93, 0, "sx0.txt");
    exports.fileSelect(0x94, 0, "sx1.txt").fileSelect(0x95, 0, "out2.txt");
    exports.fileSelect(0x11, 0, "out0.txt").fileSelect(0x12, 0, "out1.txt").fileSelect(0x15, 0, "out2.txt");
    exports.fileSelect(0x21, 5, "out0.txt");  // a text file offered as a WAV
    exports.fileSelect(0x91, 0, "");          // the folder itself
    out.add("exports.msg", exports.bytes());

    Writer handshake;
    handshake.message(script::kOpenGui, 0).message(script::kNoId, 1).tag(0x10, 1);
    handshake.raw(script::kGarbageId).raw(5).raw('h').raw('e').raw('l').raw('l').raw('o').raw(0);
    out.add("handshake.msg", handshake.bytes());

    Writer bad;
    bad.message(script::kValueChange, 1).tag(0x10, 10);  // no value
    bad.message(script::kValueChange, 1).val(100);       // no tag
    bad.message(script::kValueChange, 2).raw(script::kFloatTag);
    for (int i = 0; i < 8; ++i) bad.raw(0);
    bad.val(7);
    bad.message(script::kValueChange, 2).tag(0x01, 2).raw(script::kValRaw);
    for (uint8_t b : {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F}) bad.raw(b);  // NaN
    bad.message(script::kFileSelect, 1).path("a.wav");                              // no code
    bad.message(script::kFileSelect, 2).tag(0x21, 3).path("a.wav", false);
    bad.message(script::kFileSelect, 2).tag(0x21, 4).raw(script::kString).raw(2).raw(5);
    for (char c : std::string("a.wav")) bad.raw(static_cast<uint8_t>(c));
    bad.message(script::kFileSelect, 2).tag(0x21, 4).raw(script::kBinaryOdd).raw(0);
    bad.message(script::kFileSelect, 2).tag(0x21, 4).raw(script::kIntWrongName).raw(1);
    out.add("bad_attributes.msg", bad.bytes());

    Writer live;
    live.audio(1).audio(2 | (3 << 4));
    for (int code = 3; code <= 16; ++code)
        live.valueChange(0x10, static_cast<uint8_t>(code), static_cast<uint8_t>(code * 15));
    live.audio(4);
    live.fileSelect(0x21, 0, "a.wav").audio(2).valueChange(0x00, 2, 10).audio(6 | (15 << 4));
    live.fileSelect(0x11, 0, "t0.txt").valueChange(0x01, 5, 90).audio(1).valueChange(0x00, 144, 255);
    out.add("while_active.msg", live.bytes());

    Writer names;
    names.nameChange(0x10, 2, "Tone name here 1").nameChange(0x20, 2, "Sampler name  2");
    names.nameChange(0x10, 2, "short").nameChange(0x10, 3, "Not a name field").audio(1);
    names.nameChange(0x20, 2, std::string("\x00\x7f\xff name bytes \x01", 16)).audio(2);
    out.add("name_changes.msg", names.bytes());
}

}  // namespace velt::corvane::fuzz::seeds
