// The protocol between the editor, the controller and the processor: message ids and
// attribute keys. Both ends read them from here, so that no id is spelled twice.
#pragma once

namespace velt::corvane::host::protocol {

// Message ids.
constexpr const char kOpenGuiRequest[] = "GUIEditor:openGUI";
constexpr const char kValueChange[] = "GUIEditor:cvValueChange";
constexpr const char kValueUpdate[] = "GUIEditor:cvValueUpdate";
constexpr const char kFileSelect[] = "GUIEditor:cvFileSelect";
/// A name field's 16 characters for the selected preset ("tag", "name": 16 bytes).
constexpr const char kNameChange[] = "GUIEditor:cvNameChange";
constexpr const char kOpenGuiAnswer[] = "Processor:openGUI";
constexpr const char kUiUpdate[] = "Processor:uiUpdate";
constexpr const char kSetState[] = "Processor:setState";
constexpr const char kGetState[] = "Processor:getState";

// Attribute keys.
constexpr const char kTagKey[] = "tag";
constexpr const char kValueKey[] = "val";
constexpr const char kPathKey[] = "path";
constexpr const char kNameKey[] = "name";
/// The display interface's address, 8 bytes (same process only).
constexpr const char kEngineAddressKey[] = "cvset";

}  // namespace velt::corvane::host::protocol
