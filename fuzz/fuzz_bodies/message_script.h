// The byte format the message fuzzer reads: up to 64 messages, each a selector byte,
// (for a garbage id, the id: length byte and bytes), an attribute count byte (modulo 8)
// and that many attributes, each a kind byte and its data. Missing bytes read as 0, so
// every input is a valid script. File names map into the rig's file folder, which holds
// a.wav, b.wav, t0.txt, t1.txt and t2.txt at the start of each input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::fuzz::script {

/// Message selectors (the byte modulo kSelectorCount).
enum Selector : uint8_t {
    kValueChange = 0,  ///< "GUIEditor:cvValueChange"
    kFileSelect = 1,   ///< "GUIEditor:cvFileSelect"
    kOpenGui = 2,      ///< "GUIEditor:openGUI"
    kGarbageId = 3,    ///< an id of up to 32 bytes from the script (length byte first)
    kNoId = 4,         ///< a message whose id was never set
    kAudio = 5,       ///< not a message: the next byte toggles activation (bit 0) and runs blocks (bits 1..3)
    kNameChange = 6,  ///< "GUIEditor:cvNameChange"
    kSelectorCount = 7,
};

/// Attribute kinds (the byte modulo kKindCount).
enum Kind : uint8_t {
    kTagShort = 0,      ///< int "tag" = code | group << 8, from two bytes (group, code)
    kTagRaw = 1,        ///< int "tag" from 8 bytes, little-endian
    kValByte = 2,       ///< float "val" = byte / 255
    kValRaw = 3,        ///< float "val" from the 8 bytes of a double (NaN and infinities too)
    kPathZero = 4,      ///< binary "path": a file name (length byte, bytes) and a terminating zero
    kPathBare = 5,      ///< ... without the terminating zero
    kString = 6,        ///< string attribute named "tag", "val" or "path" (name byte, length byte, bytes)
    kIntWrongName = 7,  ///< int "val" or "path" (name byte, 8 bytes)
    kFloatTag = 8,      ///< float "tag" (8 bytes)
    kBinaryOdd =
        9,       ///< binary "tag" (length byte, bytes) or a binary "path" holding one zero byte (length 0)
    kName = 10,  ///< binary "name" (length byte, bytes): 16 bytes is a name field's text
    kKindCount = 11,
};

/// Appends script bytes; the seeds are written with it.
class Writer {
public:
    Writer& message(Selector s, uint8_t attributeCount) {
        bytes_.push_back(s);
        bytes_.push_back(attributeCount);
        return *this;
    }
    Writer& tag(uint8_t group, uint8_t code) { return put(kTagShort).put(group).put(code); }
    Writer& val(uint8_t byte) { return put(kValByte).put(byte); }
    Writer& path(const std::string& name, bool zero = true) {
        put(zero ? kPathZero : kPathBare).put(static_cast<uint8_t>(name.size()));
        for (char c : name) put(static_cast<uint8_t>(c));
        return *this;
    }
    Writer& raw(uint8_t b) { return put(b); }
    /// A value change of tag (group, code) to byte / 255.
    Writer& valueChange(uint8_t group, uint8_t code, uint8_t byte) {
        return message(kValueChange, 2).tag(group, code).val(byte);
    }
    /// A file request of code (operation, slot) for the file name.
    Writer& fileSelect(uint8_t operation, uint8_t slot, const std::string& name) {
        return message(kFileSelect, 2).tag(operation, slot).path(name);
    }
    /// A name change of tag (group, code) to name's bytes.
    Writer& nameChange(uint8_t group, uint8_t code, const std::string& name) {
        message(kNameChange, 2).tag(group, code).put(kName).put(static_cast<uint8_t>(name.size()));
        for (char c : name) put(static_cast<uint8_t>(c));
        return *this;
    }
    Writer& audio(uint8_t control) { return message(kAudio, control); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    Writer& put(uint8_t b) {
        bytes_.push_back(b);
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

}  // namespace velt::corvane::fuzz::script
