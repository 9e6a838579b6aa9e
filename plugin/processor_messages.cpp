// The processor's side of the editor's messages. They arrive on the main thread; the
// engine holder turns them into edits for the audio thread and works out the replies.
#include <cstring>
#include <string>

#include "host/editor_protocol.h"
#include "host/editor_requests.h"
#include "host/state_chunk.h"
#include "plugin/corvane_vst_processor.h"
#include "plugin/message_id.h"

namespace Steinberg {
namespace Vst {

using velt::corvane::plugin::hasMessageId;
namespace protocol = velt::corvane::host::protocol;

tresult PLUGIN_API CorvaneVSTProcessor::notify(IMessage* message) {
    if (!message) return kInvalidArgument;
    if (hasMessageId(message, protocol::kValueChange)) {
        onValueChange(message);
        return kResultOk;
    }
    if (hasMessageId(message, protocol::kFileSelect)) {
        onFileSelect(message);
        return kResultOk;
    }
    if (hasMessageId(message, protocol::kNameChange)) {
        onNameChange(message);
        return kResultOk;
    }
    if (hasMessageId(message, protocol::kOpenGuiRequest)) {
        sendEngineMessage(protocol::kOpenGuiAnswer);
        return kResultOk;
    }
    return AudioEffect::notify(message);
}

void CorvaneVSTProcessor::onValueChange(IMessage* message) {
    IAttributeList* attributes = message->getAttributes();
    int64 tag = 0;
    double value = 0.0;
    if (!editorRequests_ || !attributes || attributes->getInt(protocol::kTagKey, tag) != kResultOk ||
        attributes->getFloat(protocol::kValueKey, value) != kResultOk)
        return;
    float echo = 0.0f;
    // The value travels as a double; the engine works with what a float keeps of it.
    if (!editorRequests_->applyValueChange(tag, static_cast<float>(value), echo)) return;
    IPtr<IMessage> reply = owned(allocateMessage());
    if (!reply) return;
    reply->setMessageID(protocol::kValueUpdate);
    if (IAttributeList* out = reply->getAttributes()) {
        out->setInt(protocol::kTagKey, tag);
        out->setFloat(protocol::kValueKey, echo);
    }
    sendMessage(reply);
}

void CorvaneVSTProcessor::onFileSelect(IMessage* message) {
    IAttributeList* attributes = message->getAttributes();
    int64 code = 0;
    const void* data = nullptr;
    uint32 size = 0;
    if (!editorRequests_ || !attributes || attributes->getInt(protocol::kTagKey, code) != kResultOk ||
        attributes->getBinary(protocol::kPathKey, data, size) != kResultOk || !data)
        return;
    // The path ends at its first zero byte or at the attribute's end, whichever comes first.
    const auto* bytes = static_cast<const char*>(data);
    const size_t limit =
        size < velt::corvane::state::kMaxPathBytes ? size : velt::corvane::state::kMaxPathBytes;
    const void* zero = std::memchr(bytes, '\0', limit);
    const std::string path(bytes, zero ? static_cast<const char*>(zero) - bytes : limit);
    if (path.empty()) return;
    if (editorRequests_->runFileRequest(code, path.c_str())) sendMessageID(protocol::kUiUpdate);
}

void CorvaneVSTProcessor::onNameChange(IMessage* message) {
    IAttributeList* attributes = message->getAttributes();
    int64 tag = 0;
    const void* data = nullptr;
    uint32 size = 0;
    if (!editorRequests_ || !attributes || attributes->getInt(protocol::kTagKey, tag) != kResultOk ||
        attributes->getBinary(protocol::kNameKey, data, size) != kResultOk || !data ||
        size != protocol::kNameBytes)
        return;
    char name[protocol::kNameBytes];
    std::memcpy(name, data, sizeof name);
    editorRequests_->applyNameChange(tag, name);
}

}  // namespace Vst
}  // namespace Steinberg
