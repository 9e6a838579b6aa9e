// Releases cairo's and fontconfig's process-wide caches after the last test, so that the leak
// checker of sanitizer builds reports only our own leaks.
#include <gtest/gtest.h>

#include "gui/offscreen/graphics_caches.h"

namespace {
class GraphicsCachesEnvironment : public ::testing::Environment {
public:
    void TearDown() override { VSTGUI::releaseGraphicsCaches(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GraphicsCachesEnvironment);
}  // namespace
