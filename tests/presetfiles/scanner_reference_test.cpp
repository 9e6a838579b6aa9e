// The record scanner against the line grammars written as ECMAScript regular
// expressions, searched the way the format defines them: on random texts built from
// the pieces of records, both must find the same records with the same fields.
#include <charconv>
#include <cstring>
#include <regex>
#include <system_error>

#include "presetfiles/record_scanner.h"
#include "tests/presetfiles/preset_test_support.h"

namespace velt::corvane::presetfiletest {
namespace {

using presetfiles::RecordFields;
using presetfiles::RecordGrammar;
using presetfiles::RecordShape;

struct Kind {
    RecordShape shape;
    const char* recordPattern;
    const char* tokenPattern;
};

const Kind kKinds[3] = {
    {{"@I:", true, 12, false},
     "^[ \t]*@I:[0-9]+[, \t\n\r]+\"[ -~]{16}\"([, \t\n\r]+[0-9]+){12}",
     "[0-9]+|\"[ -~]{16}\""},
    {{"@S:", true, 9, false},
     "^[ \t]*@S:[0-9]+[, \t\n\r]+\"[ -~]{16}\"([, \t\n\r]+[0-9]+){9}",
     "[0-9]+|\"[ -~]{16}\""},
    {{"@:", false, 4, true},
     "^[ \t]*@:[0-9]+([, \t\n\r]+[0-9]+){4}[, \t\n\r]+([0-9]+\\.[0-9]+)",
     "(?![0-9]+\\.|\\.[0-9]+)[0-9]+|[0-9]+\\.[0-9]+"},
};

/// One found record in a form both sides can write.
std::string describe(int32_t number, bool fits, const std::string& name, const std::vector<int32_t>& integers,
                     bool decimal, double value, bool decimalFits) {
    std::string s = std::to_string(number) + (fits ? " fits" : " overflows") + " [" + name + "]";
    for (int32_t v : integers) s += " " + std::to_string(v);
    if (decimal) {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        s += decimalFits ? " d" + std::to_string(bits) : " d-out-of-range";
    }
    return s;
}

int32_t saturated(const std::string& digits, bool& fits) {
    int64_t v = 0;
    for (char c : digits) {
        if (v <= INT32_MAX) v = v * 10 + (c - '0');
    }
    if (v > INT32_MAX) {
        fits = false;
        return INT32_MAX;
    }
    return static_cast<int32_t>(v);
}

/// The records as the regular expressions find them: at each line start (the start of
/// the text or after a line feed) a match anchored there, then on from its end.
std::vector<std::string> byRegex(const Kind& kind, std::string text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const std::regex record(kind.recordPattern, std::regex::ECMAScript);
    const std::regex token(kind.tokenPattern, std::regex::ECMAScript);
    std::vector<std::string> found;
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* at = begin; at <= end;) {
        std::cmatch m;
        const char* next = at;
        if (std::regex_search(at, end, m, record, std::regex_constants::match_continuous)) {
            std::vector<std::string> tokens;
            for (std::cregex_iterator it(m[0].first, m[0].second, token), stop; it != stop; ++it)
                tokens.push_back(it->str());
            bool fits = true;
            size_t t = 0;
            const int32_t number = saturated(tokens[t++], fits);
            std::string name;
            if (kind.shape.quotedName) name = tokens[t++].substr(1, 16);
            std::vector<int32_t> integers;
            for (int32_t i = 0; i < kind.shape.integerCount; ++i)
                integers.push_back(saturated(tokens[t++], fits));
            double value = 0.0;
            bool decimalFits = true;
            if (kind.shape.decimal) {
                const std::string& d = tokens[t++];
                const auto r =
                    std::from_chars(d.data(), d.data() + d.size(), value, std::chars_format::fixed);
                decimalFits = r.ec == std::errc();
            }
            EXPECT_EQ(t, tokens.size());
            found.push_back(describe(number, fits, name, integers, kind.shape.decimal, value, decimalFits));
            next = m[0].second;
        }
        const void* feed = std::memchr(next, '\n', static_cast<size_t>(end - next));
        if (feed == nullptr) break;
        at = static_cast<const char*>(feed) + 1;
    }
    return found;
}

class Recorder final : public RecordGrammar {
public:
    explicit Recorder(const RecordShape& shape) : shape_(shape) {}
    const RecordShape& shape() const override { return shape_; }
    void take(const RecordFields& f) override {
        const std::string name = shape_.quotedName ? std::string(f.name, 16) : std::string();
        const std::vector<int32_t> integers(f.integers, f.integers + shape_.integerCount);
        found.push_back(
            describe(f.number, f.integersFit, name, integers, shape_.decimal, f.decimal, f.decimalFits));
    }
    std::vector<std::string> found;

private:
    RecordShape shape_;
};

std::vector<std::string> byScanner(const Kind& kind, const std::string& text) {
    Recorder recorder(kind.shape);
    presetfiles::StringTextSource source(text);
    presetfiles::scanRecords(source, recorder);
    return recorder.found;
}

/// Text from the pieces records are made of, so that near misses are common.
std::string randomText(Lcg& random, int32_t kind) {
    static const char* const kPieces[] = {
        "@I:",
        "@S:",
        "@:",
        "@",
        "I:",
        ":",
        "\"",
        "\"0123456789abcdef\"",
        "\"a \"\"b,c 1 2 3 @\"",
        "\"short\"",
        " ",
        "  ",
        "\t",
        ",",
        ", ",
        "\n",
        "\r\n",
        "\r",
        "\n\n",
        "\n  ",
        "\n\t@",
        "0",
        "7",
        "12",
        "127",
        "128",
        "2147483647",
        "2147483648",
        "99999999999",
        "0000000005",
        ".",
        "440.0",
        "261.63",
        "1.",
        ".5",
        "0.000001",
        "x",
        "#",
        "-",
        "+",
        "\xEF\xBB\xBF",
        "" /* a zero byte */,
        "\x7F",
        "\xFF",
    };
    static const char* const kRecords[] = {
        "@I:5 \"Grand 88 v2     \" 1000 1 9000 3 7 10 120 90 20 100 2 60",
        "@S:9 \"Snare 2         \" 12 70 9 8000 5 126 10 100 90",
        "@:3 0 1000 200 1000 261.63",
    };
    std::string text;
    const int32_t pieces = random.below(60);
    for (int32_t i = 0; i < pieces; ++i) {
        const int32_t choice = random.below(100);
        if (choice < 12) {
            // A whole record, sometimes with one byte cut out or changed.
            std::string r = kRecords[random.below(5) == 0 ? random.below(3) : kind];
            if (random.below(3) == 0) {
                const size_t at = static_cast<size_t>(random.below(static_cast<int32_t>(r.size())));
                if (random.below(2) == 0) {
                    r.erase(at, 1);
                } else {
                    r[at] = " ,\n\"0.@"[random.below(7)];
                }
            }
            text += r;
        } else {
            const int32_t n = static_cast<int32_t>(sizeof kPieces / sizeof kPieces[0]);
            const char* piece = kPieces[random.below(n)];
            text += piece[0] == '\0' ? std::string(1, '\0') : std::string(piece);
        }
    }
    return text;
}

TEST(ScannerReference, FindsWhatTheRegularExpressionsFind) {
    Lcg random(8675309u);
    size_t records = 0;
    for (int32_t round = 0; round < 6000; ++round) {
        const int32_t kind = round % 3;
        const std::string text = randomText(random, kind);
        const std::vector<std::string> expected = byRegex(kKinds[kind], text);
        records += expected.size();
        ASSERT_EQ(byScanner(kKinds[kind], text), expected) << "kind " << kind << ", text:\n" << text;
    }
    EXPECT_GT(records, 1000u);  // the texts must hold matches, not only misses
}

TEST(ScannerReference, TheEdgesOfEachGrammar) {
    const char* const texts[] = {
        "@I:5 \n@I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12",
        "@I:5 \"0123456789abcdef\"\n@I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12",
        "@I:5 1\n \t @I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12",
        "@I:5 \"0123456789abcde\n@I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12",
        "@I:5\r\n\r@I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12",
        "@I:5 \"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\" 1 2 3 4 5 6 7 8 9 10 11 12\n",
        "@I:5 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 11 12 @I:6 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9 10 "
        "11 12",
        "@:1 2 3 4 5 6.5\n@:2 2 3 4 5.5 6.5\n@:3 2 3 4 5 0006.5000\n@:4,2,3,4,5,\n\n  7.25",
        "@:1 2 3 4\n@:5 6 7 8 9 1.5",
        "@S:1 \"0123456789abcdef\" 1 2 3 4 5 6 7 8\n@S:2 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9",
        "\xEF\xBB\xBF@S:1 \"0123456789abcdef\" 1 2 3 4 5 6 7 8 9",
    };
    for (const char* text : texts) {
        for (const Kind& kind : kKinds) EXPECT_EQ(byScanner(kind, text), byRegex(kind, text)) << text;
    }
}

TEST(ScannerReference, LongDecimalsConvertAsTheirWholeText) {
    // Past the digits the scanner keeps, only "something non-zero follows" may matter.
    const std::string zeros(2500, '0');
    const std::string decimals[] = {
        "1." + zeros + "1",
        "0." + std::string(1999, '0') + "1" + zeros + "9",
        "0." + std::string(300, '0') +
            "24703282292062327208828439643411068618252990130716238221279284125033775364"
            "51",
        "0." + zeros + "1",
        "1.00000000000000011102230246251565404236316680908203125" + zeros,
        "1.00000000000000011102230246251565404236316680908203125" + zeros + "1",
        zeros + "340282346638528859811704183484516925440." + zeros,
        "1" + std::string(39, '0') + ".0",
        "1" + std::string(400, '0') + ".0",
    };
    const Kind& kind = kKinds[2];
    for (const std::string& d : decimals) {
        double value = 0.0;
        const auto r = std::from_chars(d.data(), d.data() + d.size(), value, std::chars_format::fixed);
        const std::string expected = describe(1, true, "", {0, 100, 0, 0}, true, value, r.ec == std::errc());
        EXPECT_EQ(byScanner(kind, "@:1 0 100 0 0 " + d), std::vector<std::string>{expected}) << d.size();
    }
}

}  // namespace
}  // namespace velt::corvane::presetfiletest
