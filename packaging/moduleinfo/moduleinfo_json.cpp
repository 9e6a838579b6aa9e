#include "packaging/moduleinfo/moduleinfo_json.h"

#include <cstdio>
#include <sstream>

namespace velt::corvane::packaging {
namespace {

using Steinberg::PClassInfo2;
using Steinberg::PFactoryInfo;

// The factory's fixed-size fields are not terminated when full.
template <size_t N>
std::string field(const char (&text)[N]) {
    size_t length = 0;
    while (length < N && text[length] != '\0') ++length;
    return std::string(text, length);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// Hosts parse the id as 32 hex digits of the 16 bytes in the order the factory hands them out.
std::string cidText(const Steinberg::TUID cid) {
    std::string out;
    for (int i = 0; i < 16; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02X", static_cast<unsigned char>(cid[i]));
        out += digits;
    }
    return out;
}

const char* boolText(bool value) {
    return value ? "true" : "false";
}

void writeSubCategories(std::ostream& out, const std::string& list) {
    out << "      \"Sub Categories\": [\n";
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('|', start);
        if (end == std::string::npos) end = list.size();
        out << "        " << quoted(list.substr(start, end - start)) << ",\n";
        start = end + 1;
    }
    out << "      ],\n";
}

void writeClass(std::ostream& out, const PClassInfo2& entry) {
    out << "    {\n";
    out << "      \"CID\": " << quoted(cidText(entry.cid)) << ",\n";
    out << "      \"Category\": " << quoted(field(entry.category)) << ",\n";
    out << "      \"Name\": " << quoted(field(entry.name)) << ",\n";
    out << "      \"Vendor\": " << quoted(field(entry.vendor)) << ",\n";
    out << "      \"Version\": " << quoted(field(entry.version)) << ",\n";
    out << "      \"SDKVersion\": " << quoted(field(entry.sdkVersion)) << ",\n";
    writeSubCategories(out, field(entry.subCategories));
    out << "      \"Class Flags\": " << entry.classFlags << ",\n";
    out << "      \"Cardinality\": " << entry.cardinality << ",\n";
    out << "      \"Snapshots\": [\n      ],\n";
    out << "    },\n";
}

}  // namespace

std::string moduleInfoJson(const std::string& moduleName, const std::string& moduleVersion,
                           const PFactoryInfo& info, const PClassInfo2* classes, int count) {
    std::ostringstream out;
    out << "{\n";
    out << "  \"Name\": " << quoted(moduleName) << ",\n";
    out << "  \"Version\": " << quoted(moduleVersion) << ",\n";
    out << "  \"Factory Info\": {\n";
    out << "    \"Vendor\": " << quoted(field(info.vendor)) << ",\n";
    out << "    \"URL\": " << quoted(field(info.url)) << ",\n";
    out << "    \"E-Mail\": " << quoted(field(info.email)) << ",\n";
    out << "    \"Flags\": {\n";
    out << "      \"Unicode\": " << boolText(info.flags & PFactoryInfo::kUnicode) << ",\n";
    out << "      \"Classes Discardable\": " << boolText(info.flags & PFactoryInfo::kClassesDiscardable)
        << ",\n";
    out << "      \"Component Non Discardable\": "
        << boolText(info.flags & PFactoryInfo::kComponentNonDiscardable) << ",\n";
    out << "    },\n";
    out << "  },\n";
    out << "  \"Compatibility\": [\n  ],\n";
    out << "  \"Classes\": [\n";
    for (int i = 0; i < count; ++i) writeClass(out, classes[i]);
    out << "  ],\n";
    out << "}\n";
    return out.str();
}

}  // namespace velt::corvane::packaging
