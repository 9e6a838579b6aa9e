#include "gui/lib/file_dialog_command.h"

#include <unistd.h>

#include <cstdlib>

namespace VSTGUI {

namespace {

bool findOnPath(const std::string& name, std::string& found) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (dir.empty()) dir = ".";
        std::string candidate = dir + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (name.empty()) return dir.back() == '/' ? dir : dir + "/";
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::vector<std::string> zenityArguments(const FileDialogRequest& r) {
    std::vector<std::string> args{"--file-selection"};
    if (!r.title.empty()) args.push_back("--title=" + r.title);
    if (r.mode == FileDialogRequest::Mode::kSave) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    } else if (r.mode == FileDialogRequest::Mode::kDirectory) {
        args.push_back("--directory");
    }
    if (r.multiple && r.mode == FileDialogRequest::Mode::kOpen) {
        args.push_back("--multiple");
        args.push_back("--separator=\n");
    }
    std::string start =
        joinPath(r.initialDirectory, r.mode == FileDialogRequest::Mode::kSave ? r.defaultSaveName : "");
    if (!start.empty()) args.push_back("--filename=" + start);
    for (const auto& [description, extension] : r.extensions)
        args.push_back("--file-filter=" + description + " | *." + extension);
    if (!r.extensions.empty()) args.push_back("--file-filter=All files | *");
    return args;
}

std::vector<std::string> kdialogArguments(const FileDialogRequest& r) {
    std::vector<std::string> args;
    if (!r.title.empty()) {
        args.push_back("--title");
        args.push_back(r.title);
    }
    if (r.multiple && r.mode == FileDialogRequest::Mode::kOpen) {
        args.push_back("--multiple");
        args.push_back("--separate-output");
    }
    std::string start =
        joinPath(r.initialDirectory, r.mode == FileDialogRequest::Mode::kSave ? r.defaultSaveName : "");
    if (start.empty()) start = ".";
    switch (r.mode) {
        case FileDialogRequest::Mode::kOpen: args.push_back("--getopenfilename"); break;
        case FileDialogRequest::Mode::kSave: args.push_back("--getsavefilename"); break;
        case FileDialogRequest::Mode::kDirectory: args.push_back("--getexistingdirectory"); break;
    }
    args.push_back(start);
    if (r.mode != FileDialogRequest::Mode::kDirectory && !r.extensions.empty()) {
        std::string filter;
        for (const auto& [description, extension] : r.extensions) {
            if (!filter.empty()) filter += "\n";
            filter += "*." + extension + "|" + description;
        }
        args.push_back(filter);
    }
    return args;
}

}  // namespace

bool findFileDialogProgram(FileDialogProgram& program) {
    if (const char* custom = std::getenv("CORVANE_FILE_DIALOG"); custom && *custom) {
        program.path = custom;
        program.flavor = FileDialogFlavor::kZenity;
        return true;
    }
    if (findOnPath("zenity", program.path)) {
        program.flavor = FileDialogFlavor::kZenity;
        return true;
    }
    if (findOnPath("kdialog", program.path)) {
        program.flavor = FileDialogFlavor::kKDialog;
        return true;
    }
    return false;
}

std::vector<std::string> fileDialogArguments(const FileDialogProgram& program,
                                             const FileDialogRequest& request) {
    std::vector<std::string> args{program.path};
    std::vector<std::string> rest =
        program.flavor == FileDialogFlavor::kZenity ? zenityArguments(request) : kdialogArguments(request);
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
}

std::vector<std::string> parseFileDialogOutput(const std::string& output) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) paths.push_back(line);
        start = end + 1;
    }
    return paths;
}

}  // namespace VSTGUI
