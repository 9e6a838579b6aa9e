#include "tools/corvane-host/editor_loop.h"

#include <poll.h>

#include <algorithm>
#include <cmath>

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "tools/corvane-host/host_clock.h"
#include "tools/corvane-host/host_plug_frame.h"
#include "tools/corvane-host/host_run_loop.h"
#include "tools/corvane-host/window_screenshot.h"

namespace velt::corvane::tools {

using namespace Steinberg;

namespace {

constexpr const char* kWindowTitle = "Corvane Synth PCM";
/// Longest wait of one loop turn: the driver gets a turn at least this often.
constexpr double kTurnMs = 5.0;

struct LoopState {
    bool screenshotTaken = false;
    bool failed = false;
    std::string error;
};

void fail(LoopState& state, const std::string& error) {
    if (state.failed) return;
    state.failed = true;
    state.error = error;
}

void takeScreenshot(HostWindow& window, const std::string& path, LoopState& state) {
    state.screenshotTaken = true;
    // What the plug-in drew on its own connection must have reached the server first.
    XSync(window.display(), False);
    std::string error;
    if (!writeWindowScreenshot(window.display(), window.window(), path, error)) fail(state, error);
}

void runTurns(HostWindow& window, HostRunLoop& runLoop, LoopDriver& driver,
              const EditorLoopSettings& settings, LoopState& state) {
    const double startMs = monotonicMs();
    while (!state.failed && !driver.finished()) {
        const double elapsedMs = monotonicMs() - startMs;
        if (settings.seconds > 0.0 && elapsedMs >= settings.seconds * 1000.0) break;
        window.handleEvents();
        if (window.closed()) break;
        if (!settings.screenshotPath.empty() && !state.screenshotTaken &&
            elapsedMs >= settings.screenshotAfter * 1000.0)
            takeScreenshot(window, settings.screenshotPath, state);

        std::string error;
        if (!driver.turn(error)) fail(state, error);
        runLoop.runOnce(kTurnMs, window.fd());
    }
}

}  // namespace

bool runEditorLoop(Vst::IEditController& controller, HostWindow& window, LoopDriver& driver,
                   const EditorLoopSettings& settings, std::string& error) {
    IPtr<IPlugView> view = owned(controller.createView(Vst::ViewType::kEditor));
    if (!view) {
        error = "the plug-in has no editor";
        return false;
    }
    if (view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
        error = "the plug-in's editor cannot be embedded into an X11 window";
        return false;
    }
    if (settings.scale > 0.0) {
        FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
        if (scaling)
            scaling->setContentScaleFactor(
                static_cast<IPlugViewContentScaleSupport::ScaleFactor>(settings.scale));
    }
    ViewRect size;
    if (view->getSize(&size) != kResultOk || size.getWidth() <= 0 || size.getHeight() <= 0) {
        error = "the plug-in's editor has no size";
        return false;
    }
    if (!window.create(kWindowTitle, size.getWidth(), size.getHeight(), view->canResize() == kResultTrue)) {
        error = "cannot create the window";
        return false;
    }
    HostRunLoop runLoop;
    HostPlugFrame frame(window, runLoop);
    view->setFrame(&frame);
    if (view->attached(reinterpret_cast<void*>(window.window()), kPlatformTypeX11EmbedWindowID) !=
        kResultOk) {
        view->setFrame(nullptr);
        view = nullptr;
        runLoop.clear();
        error = "the plug-in's editor did not open in the window";
        return false;
    }
    window.forwardDropsToEmbedded();
    window.map();

    LoopState state;
    runTurns(window, runLoop, driver, settings, state);
    // A run shorter than the wait, or a window closed early, still leaves its picture.
    if (!settings.screenshotPath.empty() && !state.screenshotTaken && !state.failed)
        takeScreenshot(window, settings.screenshotPath, state);

    view->removed();
    view->setFrame(nullptr);
    view = nullptr;
    // Handlers the view left registered go while the module is still loaded.
    runLoop.clear();
    if (state.failed) error = state.error;
    return !state.failed;
}

bool runHeadlessLoop(LoopDriver& driver, double seconds, std::string& error) {
    const double startMs = monotonicMs();
    while (!driver.finished()) {
        if (seconds > 0.0 && monotonicMs() - startMs >= seconds * 1000.0) break;
        if (!driver.turn(error)) return false;
        poll(nullptr, 0, static_cast<int>(kTurnMs));
    }
    return true;
}

}  // namespace velt::corvane::tools
