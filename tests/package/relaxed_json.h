// A reader for the relaxed JSON of moduleinfo.json: standard JSON plus trailing commas and
// "//" and "/* */" comments, as hosts accept it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velt::corvane::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;                            ///< Array elements in order
    std::vector<std::pair<std::string, JsonValue>> members;  ///< Object members in order

    /// The member named key, or null when there is none (or this is not an object).
    const JsonValue* find(const std::string& key) const;
};

/// Parses the whole document into out; false with the byte offset and reason in error.
bool parseRelaxedJson(const std::string& document, JsonValue& out, std::string& error);

}  // namespace velt::corvane::test
