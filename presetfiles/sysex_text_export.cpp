#include "presetfiles/sysex_text_export.h"

#include "presetfiles/text_format.h"

namespace velt::corvane::presetfiles {
namespace {

// One message: the fixed head with block and preset, the start address, the data bytes, EOX.
void appendMessage(std::string& out, const char* blockHead, int32_t preset, const char* address,
                   const int32_t* data, int32_t count) {
    out += blockHead;
    out.push_back(' ');
    appendHexByte(out, preset);
    out += address;
    for (int32_t i = 0; i < count; ++i) {
        out.push_back(' ');
        appendHexByte(out, data[i]);
    }
    out += " F7\n";
}

const char* const kSysExHeader =
    "# F0 7D 10 23 aa bb cc datas... F7\n"
    "# SysExStatus, MnufactureID(Universal), DeviceID, ModelID, DataOffsetAdress[abc], Datas..., EOX\n";

}  // namespace

std::string formatToneSysEx(const TonePreset* tones) {
    std::string out = kSysExHeader;
    out +=
        "# aa[04(Instrument)], bb[00-7f(Inst:program)], cc[offset address]\n"
        "# key, pan, lfoFreq, strc, tune, lms, wave, tl, ar, dr, sl, rr, kf, kfStart\n";
    for (int32_t n = 0; n < kRecordCount; ++n) {
        const TonePreset& t = tones[n];
        // wave is a 7-bit slot number like the fields after it; masking keeps
        // every line a valid message whatever the record holds.
        const int32_t data[14] = {t.lfoFreq & 127,     (t.lfoFreq >> 7) & 127,
                                  t.strc & 3,          t.tune & 127,
                                  (t.tune >> 7) & 127, t.lms & 15,
                                  t.wave & 127,        t.tl & 127,
                                  t.ar & 127,          t.dr & 127,
                                  t.sl & 127,          t.rr & 127,
                                  t.kf & 127,          t.kfStart & 127};
        appendMessage(out, "F0 7D 10 23 04", n, " 12", data, 14);
    }
    return out;
}

std::string formatSamplerSysEx(const SamplerPreset* samplers) {
    std::string out = kSysExHeader;
    out +=
        "# aa[06(Sampler)], bb[00-7f(Sampler:preset number)], cc[offset address]\n"
        "# smplNum, pan, octv, tune(LSB), tune(MSB), tl, ar, dr, sl, rr\n";
    for (int32_t n = 0; n < kRecordCount; ++n) {
        const SamplerPreset& s = samplers[n];
        const int32_t data[10] = {s.smplNum & 127,     s.pan & 127, s.octv & 15, s.tune & 127,
                                  (s.tune >> 7) & 127, s.tl & 127,  s.ar & 127,  s.dr & 127,
                                  s.sl & 127,          s.rr & 127};
        appendMessage(out, "F0 7D 10 23 06", n, " 10", data, 10);
    }
    return out;
}

std::string formatSysExText(int32_t kind, const SoundTables& tables) {
    switch (kind) {
        case static_cast<int32_t>(TextKind::Tones):
            return tables.tones != nullptr ? formatToneSysEx(tables.tones) : std::string();
        case static_cast<int32_t>(TextKind::Samplers):
            return tables.samplers != nullptr ? formatSamplerSysEx(tables.samplers) : std::string();
        default: return std::string();
    }
}

bool exportSysExText(const char* path, int32_t kind, const SoundTables& tables) {
    const std::string contents = formatSysExText(kind, tables);
    if (contents.empty()) return false;
    return writeTextFile(path, contents);
}

}  // namespace velt::corvane::presetfiles
