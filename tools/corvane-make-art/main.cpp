// corvane-make-art: draws the editor's eight PNG bitmaps into a folder.
//   corvane-make-art OUTDIR [--sheet FILE]
#include <filesystem>
#include <iostream>
#include <string>

#include "tools/corvane-make-art/art_set.h"
#include "tools/corvane-make-art/contact_sheet.h"

int main(int argc, char** argv) {
    std::string outDir, sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else if (outDir.empty() && !arg.empty() && arg[0] != '-') {
            outDir = arg;
        } else {
            outDir.clear();
            break;
        }
    }
    if (outDir.empty()) {
        std::cerr << "usage: corvane-make-art OUTDIR [--sheet FILE]\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "corvane-make-art: cannot create " << outDir << ": " << ec.message() << "\n";
        return 1;
    }
    if (!velt::corvane::art::writeAllBitmaps(outDir, std::cerr)) return 1;
    if (!sheet.empty() && !velt::corvane::art::writeContactSheet(outDir, sheet)) {
        std::cerr << "corvane-make-art: cannot write the contact sheet " << sheet << "\n";
        return 1;
    }
    return 0;
}
