#include "presetfiles/record_scanner.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace velt::corvane::presetfiles {
namespace {

constexpr int kEnd = -1;

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}
bool isSeparator(int c) {
    return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isNameByte(int c) {
    return c >= 0x20 && c <= 0x7E;
}

/// The digits of a decimal number, bounded: a double needs no more than 40 integer
/// digits to overflow the float range and fewer than 800 significant digits to round
/// correctly, so digits beyond the bound only matter as "some non-zero digit follows",
/// which one appended 1 keeps.
class DecimalDigits {
public:
    void integerDigit(int c) {
        if (integerLength_ == 0 && c == '0') return;  // leading zeros carry no value
        if (integerLength_ < kIntegerDigits) {
            text_[integerLength_++] = static_cast<char>(c);
        } else {
            tooLarge_ = true;
        }
    }
    void fractionDigit(int c) {
        if (fractionLength_ < kFractionDigits) {
            fraction_[fractionLength_++] = static_cast<char>(c);
        } else if (c != '0') {
            sticky_ = true;
        }
    }
    /// The value as the nearest double; false beyond the double range.
    bool convert(double& value) {
        if (tooLarge_) return false;
        size_t n = integerLength_;
        if (n == 0) text_[n++] = '0';
        text_[n++] = '.';
        std::memcpy(text_ + n, fraction_, fractionLength_);
        n += fractionLength_;
        if (sticky_) text_[n++] = '1';
        const std::from_chars_result r = std::from_chars(text_, text_ + n, value, std::chars_format::fixed);
        return r.ec == std::errc() && r.ptr == text_ + n;
    }

private:
    static constexpr size_t kIntegerDigits = 40;
    static constexpr size_t kFractionDigits = 2000;
    char text_[kIntegerDigits + 1 + kFractionDigits + 1] = {};
    char fraction_[kFractionDigits] = {};
    size_t integerLength_ = 0;
    size_t fractionLength_ = 0;
    bool tooLarge_ = false;
    bool sticky_ = false;
};

/// Reads one record byte by byte, never stepping back. It remembers whether, since the
/// last line feed it took, it took only blanks: a record that fails there stops at the
/// first byte of a line's content, which may begin the next record.
class RecordReader {
public:
    explicit RecordReader(LineWindow& window) : window_(window) {}

    void begin() { freshLine_ = false; }
    bool freshLine() const { return freshLine_; }

    bool read(const RecordShape& shape, RecordFields& f) {
        for (const char* m = shape.marker; *m != '\0'; ++m) {
            if (peek() != static_cast<unsigned char>(*m)) return false;
            take();
        }
        if (!integer(f.number, f.integersFit)) return false;
        if (shape.quotedName) {
            if (!separators() || peek() != '"') return false;
            take();
            for (char& c : f.name) {
                const int b = peek();
                if (!isNameByte(b)) return false;
                c = static_cast<char>(b);
                take();
            }
            if (peek() != '"') return false;
            take();
        }
        for (int32_t i = 0; i < shape.integerCount && i < kMaxRecordIntegers; ++i) {
            if (!separators() || !integer(f.integers[i], f.integersFit)) return false;
        }
        if (shape.decimal) {
            if (!separators()) return false;
            return decimal(f);
        }
        return true;
    }

private:
    int peek() {
        if (window_.visible() == 0 && window_.look(1) == 0) return kEnd;
        return static_cast<unsigned char>(*window_.data());
    }

    /// Takes the byte that peek() returned.
    void take() {
        const char c = *window_.data();
        if (c == '\n') {
            freshLine_ = true;
        } else if (c != ' ' && c != '\t') {
            freshLine_ = false;
        }
        window_.skip(1);
    }

    bool separators() {
        if (!isSeparator(peek())) return false;
        while (isSeparator(peek())) take();
        return true;
    }

    /// One or more digits; a value beyond 2147483647 clears fits.
    bool integer(int32_t& value, bool& fits) {
        if (!isDigit(peek())) return false;
        int64_t v = 0;
        for (int c = peek(); isDigit(c); c = peek()) {
            if (v <= INT32_MAX) v = v * 10 + (c - '0');
            take();
        }
        if (v > INT32_MAX) {
            fits = false;
            v = INT32_MAX;
        }
        value = static_cast<int32_t>(v);
        return true;
    }

    /// [0-9]+\.[0-9]+
    bool decimal(RecordFields& f) {
        DecimalDigits digits;
        if (!isDigit(peek())) return false;
        for (int c = peek(); isDigit(c); c = peek()) {
            digits.integerDigit(c);
            take();
        }
        if (peek() != '.') return false;
        take();
        if (!isDigit(peek())) return false;
        for (int c = peek(); isDigit(c); c = peek()) {
            digits.fractionDigit(c);
            take();
        }
        f.decimalFits = digits.convert(f.decimal);
        return true;
    }

    LineWindow& window_;
    bool freshLine_ = false;
};

}  // namespace

void scanRecords(TextSource& source, RecordGrammar& grammar) {
    LineWindow window(source);
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    if (window.look(3) == 3 && std::memcmp(window.data(), kByteOrderMark, 3) == 0) window.skip(3);
    RecordReader reader(window);
    const RecordShape& shape = grammar.shape();
    do {
        for (;;) {
            // At a line start: only blanks may come before the marker.
            window.skipBlanks();
            reader.begin();
            RecordFields fields;
            if (reader.read(shape, fields)) {
                grammar.take(fields);
                break;  // the next record starts on a later line than this one ends
            }
            if (!reader.freshLine()) break;
        }
    } while (window.nextLine());
}

}  // namespace velt::corvane::presetfiles
