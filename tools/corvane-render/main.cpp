// corvane-render: a Standard MIDI File rendered by the engine into WAV files.
#include <iostream>

#include "tools/toolkit/render_command.h"

int main(int argc, char** argv) {
    return velt::corvane::tools::runRenderCommand(argc, argv, std::cout, std::cerr);
}
