#pragma once
// The desktop's file dialog as a command line: which program, which arguments, and how its
// output becomes a list of paths.
#include <string>
#include <vector>

namespace VSTGUI {

struct FileDialogRequest {
    enum class Mode { kOpen, kSave, kDirectory };
    Mode mode = Mode::kOpen;
    std::string title;
    std::string initialDirectory;
    std::string defaultSaveName;
    bool multiple = false;
    /** (description, extension without the dot) pairs, in order. */
    std::vector<std::pair<std::string, std::string>> extensions;
};

enum class FileDialogFlavor { kZenity, kKDialog };

struct FileDialogProgram {
    std::string path;
    FileDialogFlavor flavor = FileDialogFlavor::kZenity;
};

/** CORVANE_FILE_DIALOG when set (called like zenity), else zenity, else kdialog found on PATH;
    false when there is none. */
bool findFileDialogProgram(FileDialogProgram& program);

/** The full argument list, program path first. */
std::vector<std::string> fileDialogArguments(const FileDialogProgram& program,
                                             const FileDialogRequest& request);

/** The chosen paths in what the dialog printed: one per line, empty lines dropped. */
std::vector<std::string> parseFileDialogOutput(const std::string& output);

}  // namespace VSTGUI
