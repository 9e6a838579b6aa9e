// What the controller asks of the open editor when the processor's messages arrive.
#pragma once

#include <cstdint>

namespace velt::corvane::host {

class EngineDisplay;

class EditorLink {
public:
    virtual ~EditorLink() = default;
    /// The engine the editor draws from; null until the processor's handshake.
    virtual EngineDisplay* engine() const = 0;
    virtual void setEngine(EngineDisplay* engine) = 0;
    /// Re-reads every row from the engine and hides the about overlay.
    virtual void refreshFromEngine() = 0;
    /// One value as the processor stored it ("GUIEditor:cvValueUpdate").
    virtual void updateValue(int32_t tag, float value) = 0;
};

/// Told when tone names may have changed, so that the host's program lists can follow.
class ProgramNameWatcher {
public:
    virtual ~ProgramNameWatcher() = default;
    virtual void checkProgramNames() = 0;
};

}  // namespace velt::corvane::host
