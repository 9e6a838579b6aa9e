// corvane-host: the plug-in's editor in an X11 window, a song played through it in real time.
#include <iostream>

#include "tools/corvane-host/host_command.h"

int main(int argc, char** argv) {
    return velt::corvane::tools::runHostCommand(argc, argv, std::cout, std::cerr);
}
