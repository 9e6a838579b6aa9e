#pragma once
// Files named by a text/uri-list, the data a drag from a file manager carries.
#include <cstddef>
#include <string>
#include <vector>

namespace VSTGUI {

struct DroppedFiles {
    /** True when every entry is a file of this machine and there is at least one. */
    bool local = false;
    /** The decoded paths, in list order; empty unless local. */
    std::vector<std::string> paths;
};

/** Reads size bytes of a text/uri-list: lines end in CR LF (a bare LF is taken too), lines
    starting with '#' are comments, and only file:// URIs with an empty host or localhost
    count as local; their paths are percent-decoded. */
DroppedFiles filesFromUriList(const char* data, size_t size);

}  // namespace VSTGUI
