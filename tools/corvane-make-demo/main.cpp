// corvane-make-demo OUTDIR: writes the bundled demo set (instrument and drum WAV
// files, their sample-data lines, the demo song and its read-me) into OUTDIR.
// The output is the same, byte for byte, on every run.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/corvane-make-demo/demo_files.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(argc == 2 ? stdout : stderr, "usage: corvane-make-demo OUTDIR\n");
        return argc == 2 ? 0 : 2;
    }
    const std::string directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "corvane-make-demo: cannot create %s: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }
    std::string failed;
    if (!velt::corvane::tools::writeDemoSet(directory, failed)) {
        std::fprintf(stderr, "corvane-make-demo: cannot write %s\n", failed.c_str());
        return 1;
    }
    return 0;
}
