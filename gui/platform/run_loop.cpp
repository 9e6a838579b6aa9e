#include "gui/platform/run_loop.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {

namespace {
std::vector<IPlatformRunLoop*>& loops() {
    static std::vector<IPlatformRunLoop*> list;
    return list;
}
}  // namespace

IPlatformRunLoop* getCurrentRunLoop() {
    return loops().empty() ? nullptr : loops().back();
}

void pushRunLoop(IPlatformRunLoop* loop) {
    if (loop) loops().push_back(loop);
}

void removeRunLoop(IPlatformRunLoop* loop) {
    auto& list = loops();
    auto it = std::find(list.rbegin(), list.rend(), loop);
    if (it != list.rend()) list.erase(std::next(it).base());
}

}  // namespace VSTGUI
