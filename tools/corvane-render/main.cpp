// corvane-render: a Standard MIDI File rendered by the engine into WAV files.
#include <cstring>
#include <iostream>

#include "corvane_version.h"
#include "tools/toolkit/render_command.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "corvane-render " << CORVANE_VERSION << "\n";
        return 0;
    }
    return velt::corvane::tools::runRenderCommand(argc, argv, std::cout, std::cerr);
}
