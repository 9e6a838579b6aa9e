#include "tests/host/virtual_display.h"

#include <unistd.h>

#include <chrono>
#include <thread>

namespace velt::corvane::testing {

bool VirtualDisplay::start(const std::string& serverPath) {
    for (int number = 90; number < 190; ++number) {
        const std::string n = std::to_string(number);
        const std::string socket = "/tmp/.X11-unix/X" + n;
        if (access(("/tmp/.X" + n + "-lock").c_str(), F_OK) == 0 || access(socket.c_str(), F_OK) == 0)
            continue;
        // -noreset: the server keeps its resources (xrdb) when its last client leaves, as a desktop does.
        if (!server_.start(
                {serverPath, ":" + n, "-screen", "0", "2048x1536x24", "-nolisten", "tcp", "-noreset"}, "",
                ""))
            return false;
        // Another server may take the number at the same moment; then this one exits.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (server_.running() && std::chrono::steady_clock::now() < until) {
            if (access(socket.c_str(), F_OK) == 0) {
                name_ = ":" + n;
                // The socket appears a little before the server answers on it.
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        server_.stop();
    }
    return false;
}

}  // namespace velt::corvane::testing
