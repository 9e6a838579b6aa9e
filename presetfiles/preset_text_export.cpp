#include "presetfiles/preset_text_export.h"

#include "presetfiles/text_format.h"

namespace velt::corvane::presetfiles {
namespace {

void appendFields(std::string& out, const int32_t* values, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        out.push_back(' ');
        appendDecimal(out, values[i]);
    }
}

void appendQuotedName(std::string& out, const char (&presetName)[kPresetNameLength + 1]) {
    out += " \"";
    appendPresetName(out, presetName);
    out.push_back('"');
}

}  // namespace

std::string formatTonePresets(const TonePreset* tones) {
    std::string out =
        "# @I(Insturument) 0 ~ 127, presetName(16 ASCII Chars), lfoFreq, strc, tune, lms, wave, tl, ar, dr, "
        "sl, rr, kf, kfStart\n";
    for (int32_t n = 0; n < kRecordCount; ++n) {
        const TonePreset& t = tones[n];
        const int32_t values[12] = {t.lfoFreq, t.strc, t.tune, t.lms, t.wave, t.tl,
                                    t.ar,      t.dr,   t.sl,   t.rr,  t.kf,   t.kfStart};
        out += "@I:";
        appendDecimal(out, n);
        appendQuotedName(out, t.presetName);
        appendFields(out, values, 12);
        out.push_back('\n');
    }
    return out;
}

std::string formatSamplerPresets(const SamplerPreset* samplers) {
    std::string out =
        "# @S(Sampler) 0 ~127, presetName(16 ASCII Chars), smplNum, pan, octv, tune, tl, ar, dr, sl, rr\n";
    for (int32_t n = 0; n < kRecordCount; ++n) {
        const SamplerPreset& s = samplers[n];
        const int32_t values[9] = {s.smplNum, s.pan, s.octv, s.tune, s.tl, s.ar, s.dr, s.sl, s.rr};
        out += "@S:";
        appendDecimal(out, n);
        appendQuotedName(out, s.presetName);
        appendFields(out, values, 9);
        out.push_back('\n');
    }
    return out;
}

std::string formatSampleParameters(const SampleData* slots) {
    std::string out =
        "# SampleData Parameters\n"
        "# @:SampleDataNum(0-127), PlayBackStartPoint, PlayBackEndPoint, LoopStartPoint, LoopEndPoint, "
        "Pitch(0.0-x Hz)\n";
    for (int32_t n = 0; n < kRecordCount; ++n) {
        const SampleData& s = slots[n];
        const bool looped = s.loopLength >= 1;
        out += "@:";
        appendDecimal(out, n);
        out.push_back(' ');
        appendDecimal(out, s.PlayBackStartPoint);
        out.push_back(' ');
        appendDecimal(out, s.PlayBackEndPoint);
        out.push_back(' ');
        // 64-bit, so that no stored pair of values can overflow the difference.
        appendDecimal(out, looped ? static_cast<int64_t>(s.LoopEndPoint) - s.loopLength : 0);
        out.push_back(' ');
        appendDecimal(out, looped ? s.LoopEndPoint : 0);
        out.push_back(' ');
        appendFixed6(out, s.Pitch);
        out.push_back('\n');
    }
    return out;
}

std::string formatText(int32_t kind, const SoundTables& tables) {
    switch (kind) {
        case static_cast<int32_t>(TextKind::Tones):
            return tables.tones != nullptr ? formatTonePresets(tables.tones) : std::string();
        case static_cast<int32_t>(TextKind::Samplers):
            return tables.samplers != nullptr ? formatSamplerPresets(tables.samplers) : std::string();
        case static_cast<int32_t>(TextKind::SampleData):
            return tables.slots != nullptr ? formatSampleParameters(tables.slots) : std::string();
        default: return std::string();
    }
}

bool exportText(const char* path, int32_t kind, const SoundTables& tables) {
    const std::string contents = formatText(kind, tables);
    if (contents.empty()) return false;
    return writeTextFile(path, contents);
}

}  // namespace velt::corvane::presetfiles
