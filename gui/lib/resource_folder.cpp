#include "gui/lib/resource_folder.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

namespace VSTGUI {

namespace {

std::string& overrideFolder() {
    static std::string folder;
    return folder;
}

// The module is <bundle>/Contents/<arch>/<name>.so; its resources are in <bundle>/Contents/Resources.
std::string moduleResourceFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&moduleResourceFolder), &info) == 0 || !info.dli_fname) return {};
    std::string path = info.dli_fname;
    // The main program is reported as it was started (maybe relative): make it absolute.
    if (path.empty() || path[0] != '/') {
        if (char* real = realpath(path.c_str(), nullptr)) {
            path = real;
            free(real);
        }
    }
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "../Resources/";
    return path.substr(0, slash) + "/../Resources/";
}

}  // namespace

std::string getResourceFolder() {
    if (!overrideFolder().empty()) return overrideFolder();
    return moduleResourceFolder();
}

void setResourceFolder(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    overrideFolder() = folder;
}

}  // namespace VSTGUI
