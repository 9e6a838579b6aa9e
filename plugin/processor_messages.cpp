// The processor's side of the editor's messages. They arrive on the main thread; the
// engine holder turns them into edits for the audio thread and works out the replies.
#include <cstring>
#include <string>

#include "plugin/corvane_vst_processor.h"
#include "plugin/engine_host.h"
#include "plugin/message_id.h"
#include "plugin/state_chunk.h"

namespace Steinberg {
namespace Vst {

using velt::corvane::plugin::hasMessageId;

tresult PLUGIN_API CorvaneVSTProcessor::notify(IMessage* message) {
    if (!message)
        return kInvalidArgument;
    if (hasMessageId(message, "GUIEditor:cvValueChange")) {
        onValueChange(message);
        return kResultOk;
    }
    if (hasMessageId(message, "GUIEditor:cvFileSelect")) {
        onFileSelect(message);
        return kResultOk;
    }
    if (hasMessageId(message, "GUIEditor:openGUI")) {
        sendEngineMessage("Processor:openGUI");
        return kResultOk;
    }
    return AudioEffect::notify(message);
}

void CorvaneVSTProcessor::onValueChange(IMessage* message) {
    IAttributeList* attributes = message->getAttributes();
    int64 tag = 0;
    double value = 0.0;
    if (!engine_ || !attributes || attributes->getInt("tag", tag) != kResultOk ||
        attributes->getFloat("val", value) != kResultOk)
        return;
    float echo = 0.0f;
    // The value travels as a double; the engine works with what a float keeps of it.
    if (!engine_->applyValueChange(tag, static_cast<float>(value), echo))
        return;
    IPtr<IMessage> reply = owned(allocateMessage());
    if (!reply)
        return;
    reply->setMessageID("GUIEditor:cvValueUpdate");
    if (IAttributeList* out = reply->getAttributes()) {
        out->setInt("tag", tag);
        out->setFloat("val", echo);
    }
    sendMessage(reply);
}

void CorvaneVSTProcessor::onFileSelect(IMessage* message) {
    IAttributeList* attributes = message->getAttributes();
    int64 code = 0;
    const void* data = nullptr;
    uint32 size = 0;
    if (!engine_ || !attributes || attributes->getInt("tag", code) != kResultOk ||
        attributes->getBinary("path", data, size) != kResultOk || !data)
        return;
    // The path ends at its first zero byte or at the attribute's end, whichever comes first.
    const auto* bytes = static_cast<const char*>(data);
    const size_t limit = size < velt::corvane::state::kMaxPathBytes ? size : velt::corvane::state::kMaxPathBytes;
    const void* zero = std::memchr(bytes, '\0', limit);
    const std::string path(bytes, zero ? static_cast<const char*>(zero) - bytes : limit);
    if (path.empty())
        return;
    if (engine_->runFileRequest(code, path.c_str()))
        sendMessageID("Processor:uiUpdate");
}

}  // namespace Vst
}  // namespace Steinberg
