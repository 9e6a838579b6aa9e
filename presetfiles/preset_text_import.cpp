#include "presetfiles/preset_text_import.h"

#include <cfloat>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "presetfiles/line_window.h"
#include "presetfiles/record_scanner.h"

namespace velt::corvane::presetfiles {
namespace {

const RecordShape kToneShape{"@I:", true, 12, false};
const RecordShape kSamplerShape{"@S:", true, 9, false};
const RecordShape kSampleShape{"@:", false, 4, true};

// A record whose number or any integer is out of range writes nothing.
bool usable(const RecordFields& f) {
    return f.integersFit && f.number < kRecordCount;
}

void copyName(char (&presetName)[kPresetNameLength + 1], const RecordFields& f) {
    std::memcpy(presetName, f.name, kPresetNameLength);
    presetName[kPresetNameLength] = '\0';
}

class ToneGrammar final : public RecordGrammar {
public:
    explicit ToneGrammar(TonePreset* tones) : tones_(tones) {}
    const RecordShape& shape() const override { return kToneShape; }

    void take(const RecordFields& f) override {
        if (!usable(f)) return;
        const int32_t* v = f.integers;
        TonePreset& t = tones_[f.number];
        copyName(t.presetName, f);
        t.lfoFreq = v[0] & 0x3FFF;
        t.strc = v[1] & 3;
        t.tune = v[2] & 0x3FFF;
        t.lms = v[3] & 15;
        t.wave = v[4] & 127;
        t.tl = v[5] & 127;
        t.ar = v[6] & 127;
        t.dr = v[7] & 127;
        t.sl = v[8] & 127;
        t.rr = v[9] & 127;
        t.kf = v[10] & 3;
        t.kfStart = v[11] & 127;
    }

private:
    TonePreset* tones_;
};

class SamplerGrammar final : public RecordGrammar {
public:
    explicit SamplerGrammar(SamplerPreset* samplers) : samplers_(samplers) {}
    const RecordShape& shape() const override { return kSamplerShape; }

    void take(const RecordFields& f) override {
        if (!usable(f)) return;
        const int32_t* v = f.integers;
        SamplerPreset& s = samplers_[f.number];
        copyName(s.presetName, f);
        s.smplNum = v[0] & 127;
        s.pan = v[1] & 127;
        s.octv = v[2] & 15;
        s.tune = v[3] & 0x3FFF;
        s.tl = v[4] & 127;
        s.ar = v[5] & 127;
        s.dr = v[6] & 127;
        s.sl = v[7] & 127;
        s.rr = v[8] & 127;
    }

private:
    SamplerPreset* samplers_;
};

class SampleGrammar final : public RecordGrammar {
public:
    explicit SampleGrammar(SampleData* slots) : slots_(slots) {}
    const RecordShape& shape() const override { return kSampleShape; }

    void take(const RecordFields& f) override {
        // A pitch beyond the float range counts as out of range, like an integer
        // beyond 32 bits: the record is skipped.
        if (!usable(f) || !f.decimalFits || !(f.decimal <= FLT_MAX)) return;
        const int32_t* points = f.integers;
        SampleData& slot = slots_[f.number];
        setPlaybackPoints(slot, points[0], points[1]);
        setLoopPoints(slot, points[2], points[3]);
        setSamplePitch(slot, static_cast<float>(f.decimal));
    }

private:
    SampleData* slots_;
};

bool kindUsable(int32_t kind, const SoundTables& tables) {
    switch (kind) {
        case static_cast<int32_t>(TextKind::Tones): return tables.tones != nullptr;
        case static_cast<int32_t>(TextKind::Samplers): return tables.samplers != nullptr;
        case static_cast<int32_t>(TextKind::SampleData): return tables.slots != nullptr;
        default: return false;
    }
}

void importFrom(TextSource& source, int32_t kind, const SoundTables& tables) {
    if (kind == static_cast<int32_t>(TextKind::Tones)) {
        ToneGrammar grammar(tables.tones);
        scanRecords(source, grammar);
    } else if (kind == static_cast<int32_t>(TextKind::Samplers)) {
        SamplerGrammar grammar(tables.samplers);
        scanRecords(source, grammar);
    } else {
        SampleGrammar grammar(tables.slots);
        scanRecords(source, grammar);
    }
}

}  // namespace

bool importText(const char* path, int32_t kind, const SoundTables& tables) {
    if (path == nullptr || !kindUsable(kind, tables)) return false;
    // A directory opens as a stream on some systems but is no text file.
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::path(path), error)) return false;
    std::ifstream file(path);
    if (!file.is_open()) return false;
    StreamTextSource source(file);
    importFrom(source, kind, tables);
    return true;
}

bool importTextFromString(const std::string& text, int32_t kind, const SoundTables& tables) {
    if (!kindUsable(kind, tables)) return false;
    StringTextSource source(text);
    importFrom(source, kind, tables);
    return true;
}

}  // namespace velt::corvane::presetfiles
