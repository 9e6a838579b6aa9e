#include "tests/package/relaxed_json.h"

#include <cstdlib>

namespace velt::corvane::test {
namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool document(JsonValue& out) {
        if (!value(out, 0)) return false;
        skipSpace();
        return pos_ == text_.size() || fail("text after the document");
    }

    std::string error() const { return "at byte " + std::to_string(pos_) + ": " + error_; }

private:
    static constexpr int kMaxDepth = 64;

    bool fail(const char* reason) {
        if (error_.empty()) error_ = reason;
        return false;
    }

    void skipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++pos_;
            } else if (text_.compare(pos_, 2, "//") == 0) {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else if (text_.compare(pos_, 2, "/*") == 0) {
                const size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    bool literal(const char* word) {
        const std::string w(word);
        if (text_.compare(pos_, w.size(), w) != 0) return fail("unknown literal");
        pos_ += w.size();
        return true;
    }

    bool string(std::string& out) {
        ++pos_;  // the opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) return fail("short \\u escape");
                    const long code = std::strtol(text_.substr(pos_, 4).c_str(), nullptr, 16);
                    pos_ += 4;
                    if (code >= 0x80) return fail("non-ASCII \\u escape");
                    out += static_cast<char>(code);
                    break;
                }
                default: out += e; break;
            }
        }
        return fail("unterminated string");
    }

    bool number(double& out) {
        const char* start = text_.c_str() + pos_;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start) return fail("bad number");
        pos_ += static_cast<size_t>(end - start);
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        skipSpace();
        if (pos_ >= text_.size()) return fail("unexpected end");
        const char c = text_[pos_];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::String;
            return string(out.text);
        }
        if (c == 't' || c == 'f') {
            out.kind = JsonValue::Kind::Bool;
            out.boolean = c == 't';
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n') return literal("null");
        out.kind = JsonValue::Kind::Number;
        return number(out.number);
    }

    // Both containers accept a comma after their last element.
    bool array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++pos_;
        for (;;) {
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ']') {
                ++pos_;
                return true;
            }
            out.items.emplace_back();
            if (!value(out.items.back(), depth + 1)) return false;
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
            } else if (pos_ >= text_.size() || text_[pos_] != ']') {
                return fail("expected ',' or ']'");
            }
        }
    }

    bool object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        ++pos_;
        for (;;) {
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == '}') {
                ++pos_;
                return true;
            }
            if (pos_ >= text_.size() || text_[pos_] != '"') return fail("expected a member name");
            std::string key;
            if (!string(key)) return false;
            skipSpace();
            if (pos_ >= text_.size() || text_[pos_] != ':') return fail("expected ':'");
            ++pos_;
            JsonValue member;
            if (!value(member, depth + 1)) return false;
            out.members.emplace_back(std::move(key), std::move(member));
            skipSpace();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
            } else if (pos_ >= text_.size() || text_[pos_] != '}') {
                return fail("expected ',' or '}'");
            }
        }
    }

    const std::string& text_;
    size_t pos_ = 0;
    std::string error_;
};

}  // namespace

const JsonValue* JsonValue::find(const std::string& key) const {
    for (const auto& member : members) {
        if (member.first == key) return &member.second;
    }
    return nullptr;
}

bool parseRelaxedJson(const std::string& document, JsonValue& out, std::string& error) {
    out = JsonValue{};
    Reader reader(document);
    if (reader.document(out)) return true;
    error = reader.error();
    return false;
}

}  // namespace velt::corvane::test
