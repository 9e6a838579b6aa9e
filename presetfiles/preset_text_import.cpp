#include "presetfiles/preset_text_import.h"

#include <cfloat>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <system_error>

#include "presetfiles/line_window.h"
#include "presetfiles/record_scanner.h"

namespace velt::corvane::presetfiles {
namespace {

constexpr auto kSyntax = std::regex::ECMAScript;

const std::regex& toneRecordPattern() {
    static const std::regex re("^[ \t]*@I:[0-9]+[, \t\n\r]+\"[ -~]{16}\"([, \t\n\r]+[0-9]+){12}", kSyntax);
    return re;
}

const std::regex& samplerRecordPattern() {
    static const std::regex re("^[ \t]*@S:[0-9]+[, \t\n\r]+\"[ -~]{16}\"([, \t\n\r]+[0-9]+){9}", kSyntax);
    return re;
}

const std::regex& presetTokenPattern() {
    static const std::regex re("[0-9]+|\"[ -~]{16}\"", kSyntax);
    return re;
}

const std::regex& sampleRecordPattern() {
    static const std::regex re("^[ \t]*@:[0-9]+([, \t\n\r]+[0-9]+){4}[, \t\n\r]+([0-9]+\\.[0-9]+)", kSyntax);
    return re;
}

const std::regex& sampleTokenPattern() {
    static const std::regex re("(?![0-9]+\\.|\\.[0-9]+)[0-9]+|[0-9]+\\.[0-9]+", kSyntax);
    return re;
}

// Record number and the integer fields from tokens[first] on; false when any
// is out of range, so that a bad record writes nothing.
bool parseRecord(const Token* tokens, int32_t first, int32_t count, int32_t& number, int32_t* values) {
    if (!parseDecimal(tokens[0], number) || number >= kRecordCount) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (!parseDecimal(tokens[first + i], values[i])) return false;
    }
    return true;
}

void copyName(char (&presetName)[kPresetNameLength + 1], const Token& quoted) {
    std::memcpy(presetName, quoted.text + 1, kPresetNameLength);
    presetName[kPresetNameLength] = '\0';
}

class ToneGrammar final : public RecordGrammar {
public:
    explicit ToneGrammar(TonePreset* tones) : tones_(tones) {}
    const char* marker() const override { return "@I:"; }
    const std::regex& recordPattern() const override { return toneRecordPattern(); }
    const std::regex& tokenPattern() const override { return presetTokenPattern(); }
    int32_t tokenCount() const override { return 14; }

    void take(const Token* tokens) override {
        int32_t n = 0;
        int32_t v[12];
        if (!parseRecord(tokens, 2, 12, n, v)) return;
        TonePreset& t = tones_[n];
        copyName(t.presetName, tokens[1]);
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
    const char* marker() const override { return "@S:"; }
    const std::regex& recordPattern() const override { return samplerRecordPattern(); }
    const std::regex& tokenPattern() const override { return presetTokenPattern(); }
    int32_t tokenCount() const override { return 11; }

    void take(const Token* tokens) override {
        int32_t n = 0;
        int32_t v[9];
        if (!parseRecord(tokens, 2, 9, n, v)) return;
        SamplerPreset& s = samplers_[n];
        copyName(s.presetName, tokens[1]);
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

// A pitch beyond the float range counts as out of range, like an integer
// beyond 32 bits: the record is skipped.
bool parsePitch(const Token& token, float& pitch) {
    double value = 0.0;
    const char* end = token.text + token.length;
    const std::from_chars_result r = std::from_chars(token.text, end, value, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != end || !(value <= FLT_MAX)) return false;
    pitch = static_cast<float>(value);
    return true;
}

class SampleGrammar final : public RecordGrammar {
public:
    explicit SampleGrammar(SampleData* slots) : slots_(slots) {}
    const char* marker() const override { return "@:"; }
    const std::regex& recordPattern() const override { return sampleRecordPattern(); }
    const std::regex& tokenPattern() const override { return sampleTokenPattern(); }
    int32_t tokenCount() const override { return 6; }

    void take(const Token* tokens) override {
        int32_t n = 0;
        int32_t points[4];
        float pitch = 0.0f;
        if (!parseRecord(tokens, 1, 4, n, points) || !parsePitch(tokens[5], pitch)) return;
        SampleData& slot = slots_[n];
        setPlaybackPoints(slot, points[0], points[1]);
        setLoopPoints(slot, points[2], points[3]);
        setSamplePitch(slot, pitch);
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
