// The message ids the processor, controller and editor exchange are compared as text.
#pragma once

#include <cstring>

#include "pluginterfaces/vst/ivstmessage.h"

namespace velt::corvane::plugin {

inline bool hasMessageId(Steinberg::Vst::IMessage* message, const char* id) {
    const char* messageId = message->getMessageID();
    return messageId && std::strcmp(messageId, id) == 0;
}

}  // namespace velt::corvane::plugin
