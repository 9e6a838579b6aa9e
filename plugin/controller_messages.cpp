// The controller's side of the processor's messages: it relays them to the open editor
// and keeps the engine address, from which the host's program lists read the tone names.
#include <cstring>

#include "host/editor_link.h"
#include "host/editor_protocol.h"
#include "host/engine_display.h"
#include "plugin/corvane_vst_controller.h"
#include "plugin/message_id.h"

namespace Steinberg {
namespace Vst {

using velt::corvane::plugin::hasMessageId;

namespace {

using velt::corvane::host::EngineDisplay;
namespace protocol = velt::corvane::host::protocol;

/// The protocol::kEngineAddressKey address; false when the attribute is missing or not 8 bytes.
bool readEngineAddress(IMessage* message, EngineDisplay*& engine) {
    IAttributeList* attributes = message->getAttributes();
    const void* data = nullptr;
    uint32 size = 0;
    if (!attributes || attributes->getBinary(protocol::kEngineAddressKey, data, size) != kResultOk || !data ||
        size != sizeof(EngineDisplay*))
        return false;
    std::memcpy(&engine, data, sizeof engine);
    return true;
}

}  // namespace

tresult PLUGIN_API CorvaneVSTController::notify(IMessage* message) {
    if (!message) return kInvalidArgument;
    using velt::corvane::host::EditorLink;
    EditorLink* editor = editorLink_;
    if (hasMessageId(message, protocol::kValueUpdate)) {
        IAttributeList* attributes = message->getAttributes();
        int64 tag = 0;
        double value = 0.0;
        if (editor && attributes && attributes->getInt(protocol::kTagKey, tag) == kResultOk &&
            attributes->getFloat(protocol::kValueKey, value) == kResultOk)
            editor->updateValue(static_cast<int32>(tag), static_cast<float>(value));
        return kResultOk;
    }
    if (hasMessageId(message, protocol::kOpenGuiAnswer)) {
        EngineDisplay* engine = nullptr;
        if (!readEngineAddress(message, engine)) return kResultOk;
        engine_ = engine;
        checkProgramNames();
        if (!editor) return kResultOk;
        editor->setEngine(engine);
        if (engine) editor->refreshFromEngine();
        return kResultOk;
    }
    const bool setState = hasMessageId(message, protocol::kSetState);
    if (setState || hasMessageId(message, protocol::kUiUpdate)) {
        EngineDisplay* engine = nullptr;
        // Only the address is taken from a restore's message; the editor keeps the one its
        // handshake gave.
        if (setState && readEngineAddress(message, engine)) engine_ = engine;
        if (setState)
            noteRestore();
        else
            checkProgramNames();
        if (editor && editor->engine()) editor->refreshFromEngine();
        return kResultOk;
    }
    if (hasMessageId(message, protocol::kGetState)) {
        EngineDisplay* engine = nullptr;
        if (readEngineAddress(message, engine)) engine_ = engine;
        // Names a song's SysEx changed reach the host's lists at the latest when it saves.
        checkProgramNames();
    }
    return EditControllerEx1::notify(message);
}

tresult PLUGIN_API CorvaneVSTController::disconnect(IConnectionPoint* other) {
    engine_ = nullptr;
    if (editorLink_) editorLink_->setEngine(nullptr);
    return EditControllerEx1::disconnect(other);
}

tresult PLUGIN_API CorvaneVSTController::terminate() {
    engine_ = nullptr;
    return EditControllerEx1::terminate();
}

}  // namespace Vst
}  // namespace Steinberg
