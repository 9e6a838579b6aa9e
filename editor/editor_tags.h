// The editor's own tags: the logo group, which opens and closes the about overlay and never
// reaches the processor. The other tags are the protocol's (host/editor_protocol.h).
#pragma once

#include <cstdint>

#include "host/editor_protocol.h"

namespace velt::corvane::editor {

constexpr int32_t kGroupLogo = 0x80;
constexpr int32_t kLogoTag = host::protocol::tagOf(kGroupLogo, 0);
constexpr int32_t kLibraryLogoTag = host::protocol::tagOf(kGroupLogo, 1);

}  // namespace velt::corvane::editor
