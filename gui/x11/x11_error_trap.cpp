#include "gui/x11/x11_error_trap.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace VSTGUI::X11 {

namespace {
std::vector<std::pair<Display*, int>>& watched() {
    static std::vector<std::pair<Display*, int>> list;
    return list;
}
XErrorHandler gPrevious = nullptr;
bool gInstalled = false;

int onXError(Display* display, XErrorEvent* event) {
    for (auto& entry : watched()) {
        if (entry.first == display) {
            ++entry.second;
            return 0;
        }
    }
    return gPrevious ? gPrevious(display, event) : 0;
}
}  // namespace

void watchDisplayErrors(Display* display) {
    watched().emplace_back(display, 0);
    if (!gInstalled) {
        gPrevious = XSetErrorHandler(&onXError);
        gInstalled = true;
    }
}

void unwatchDisplayErrors(Display* display) {
    auto& list = watched();
    list.erase(std::remove_if(list.begin(), list.end(), [&](const auto& e) { return e.first == display; }),
               list.end());
    if (list.empty() && gInstalled) {
        XErrorHandler current = XSetErrorHandler(gPrevious);
        // Someone installed a handler after ours: leave theirs in place.
        if (current != &onXError) XSetErrorHandler(current);
        gInstalled = false;
        gPrevious = nullptr;
    }
}

int takeDisplayErrors(Display* display) {
    XSync(display, False);
    for (auto& entry : watched()) {
        if (entry.first == display) return std::exchange(entry.second, 0);
    }
    return 0;
}

}  // namespace VSTGUI::X11
