#include "host/sample_search.h"

#include <algorithm>
#include <cstdio>

namespace velt::corvane::host {

namespace {

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

void addFolder(std::vector<std::string>& folders, const std::string& folder) {
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
}

}  // namespace

bool fileOpens(const std::string& path) {
    if (path.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> splitSearchPath(const char* value) {
    std::vector<std::string> folders;
    if (!value) return folders;
    std::string rest(value);
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t colon = rest.find(':', start);
        const size_t end = colon == std::string::npos ? rest.size() : colon;
        if (end > start) folders.push_back(rest.substr(start, end - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return folders;
}

std::array<std::string, kSampleSlotCount> resolveSamplePaths(
    const std::array<std::string, kSampleSlotCount>& recorded, const std::vector<std::string>& searchPath) {
    std::array<std::string, kSampleSlotCount> resolved;
    std::vector<std::string> foundIn;
    std::array<bool, kSampleSlotCount> missing{};
    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
        if (recorded[i].empty()) continue;
        if (fileOpens(recorded[i])) {
            resolved[i] = recorded[i];
            addFolder(foundIn, folderOf(recorded[i]));
        } else {
            missing[i] = true;
        }
    }
    // A folder found for a later slot may hold an earlier slot's file: repeat until
    // a pass finds nothing new.
    for (bool progress = true; progress;) {
        progress = false;
        for (int32_t i = 0; i < kSampleSlotCount; ++i) {
            if (!missing[i]) continue;
            const std::string name = fileNameOf(recorded[i]);
            if (name.empty()) {
                missing[i] = false;
                continue;
            }
            std::string hit;
            for (const std::string& folder : foundIn) {
                if (fileOpens(joined(folder, name))) {
                    hit = joined(folder, name);
                    break;
                }
            }
            if (hit.empty()) {
                for (const std::string& folder : searchPath) {
                    if (fileOpens(joined(folder, name))) {
                        hit = joined(folder, name);
                        addFolder(foundIn, folder);
                        break;
                    }
                }
            }
            if (hit.empty()) continue;
            resolved[i] = hit;
            missing[i] = false;
            progress = true;
        }
    }
    return resolved;
}

}  // namespace velt::corvane::host
