#include "presetfiles/text_format.h"

#include <charconv>
#include <fstream>
#include <system_error>

namespace velt::corvane::presetfiles {

void appendDecimal(std::string& out, int64_t value) {
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, r.ptr);
}

void appendHexByte(std::string& out, int32_t value) {
    static const char kHex[] = "0123456789abcdef";
    out.push_back(kHex[(value >> 4) & 15]);
    out.push_back(kHex[value & 15]);
}

void appendFixed6(std::string& out, double value) {
    // printf's %f depends on the process locale, which a host may have changed;
    // to_chars writes the same digits with a point always.
    char text[400];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    if (r.ec == std::errc()) out.append(text, r.ptr);
}

void appendPresetName(std::string& out, const char (&presetName)[kPresetNameLength + 1]) {
    // SysEx may store any byte in a name; a line feed would split the record, a zero
    // byte would cut it short, and the import would then skip the record altogether.
    for (int32_t i = 0; i < kPresetNameLength; ++i) {
        const char c = presetName[i];
        out.push_back(c >= 0x20 && c <= 0x7E ? c : ' ');
    }
}

bool writeTextFile(const char* path, const std::string& contents) {
    if (path == nullptr) return false;
    std::ofstream file(path, std::ios::out | std::ios::trunc);
    if (!file.is_open()) return false;
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return true;
}

}  // namespace velt::corvane::presetfiles
