#include "gui/lib/uri_list.h"

#include <strings.h>

#include <cstring>

namespace VSTGUI {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/** The path of a local file URI, or false. A raw '?' or '#' would cut the path short, so such
    URIs are not ours to guess at; neither is an encoded NUL. */
bool localPath(const std::string& uri, std::string& path) {
    static const char kScheme[] = "file:";
    if (uri.size() < sizeof kScheme - 1 || strncasecmp(uri.c_str(), kScheme, sizeof kScheme - 1) != 0)
        return false;
    size_t at = sizeof kScheme - 1;
    if (uri.compare(at, 2, "//") == 0) {
        const size_t slash = uri.find('/', at + 2);
        if (slash == std::string::npos) return false;
        const std::string host = uri.substr(at + 2, slash - at - 2);
        if (!host.empty() && strcasecmp(host.c_str(), "localhost") != 0) return false;
        at = slash;
    }
    if (at >= uri.size() || uri[at] != '/') return false;
    path.clear();
    for (size_t i = at; i < uri.size(); ++i) {
        const char c = uri[i];
        if (c == '?' || c == '#' || c == '\0') return false;
        if (c != '%') {
            path += c;
            continue;
        }
        const int high = i + 2 < uri.size() ? hexValue(uri[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(uri[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) return false;
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

}  // namespace

DroppedFiles filesFromUriList(const char* data, size_t size) {
    DroppedFiles files;
    if (!data) return files;
    // Some sources count a terminating NUL in the data.
    while (size > 0 && data[size - 1] == '\0') --size;
    bool local = true;
    for (size_t start = 0; start < size;) {
        const void* nl = std::memchr(data + start, '\n', size - start);
        size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - data) : size;
        const size_t next = end + 1;
        if (end > start && data[end - 1] == '\r') --end;
        const std::string line(data + start, end - start);
        start = next;
        if (line.empty() || line[0] == '#') continue;
        std::string path;
        if (!localPath(line, path)) local = false;
        files.paths.push_back(path);
    }
    files.local = local && !files.paths.empty();
    if (!files.local) files.paths.clear();
    return files;
}

}  // namespace VSTGUI
