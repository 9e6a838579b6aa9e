#include <cstring>
#include <new>
#include <string>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "fuzz/fuzz_bodies/message_script.h"
#include "fuzz/fuzz_bodies/processor_rig.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace velt::corvane::fuzz {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32_t kMaxMessages = 64;
constexpr size_t kMaxNameBytes = 32;

/// Reads the script; past its end every byte is 0.
class ScriptReader {
public:
    ScriptReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint64_t u64() {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(byte()) << (8 * i);
        return v;
    }
    double f64() {
        const uint64_t bits = u64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    std::string text(size_t limit) {
        const size_t n = byte() % (limit + 1);
        std::string s;
        for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(byte()));
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

/// A file name inside the rig's folder: only name characters survive, so that no request
/// reaches outside it; an empty name stands for the folder itself.
std::string mappedPath(const std::string& folder, const std::string& raw) {
    std::string name;
    for (char c : raw) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          c == '.' || c == '_' || c == '-';
        if (keep) name.push_back(c);
    }
    if (name == "." || name == "..") name = "dot";
    return name.empty() ? folder : folder + "/" + name;
}

const char* attributeName(uint8_t b) {
    static const char* const names[] = {"tag", "val", "path"};
    return names[b % 3];
}

void addAttribute(ScriptReader& in, IAttributeList& a, const std::string& folder) {
    const uint8_t kind = in.byte() % script::kKindCount;
    switch (kind) {
        case script::kTagShort: {
            const int64 group = in.byte();
            const int64 code = in.byte();
            a.setInt("tag", code | group << 8);
            break;
        }
        case script::kTagRaw: a.setInt("tag", static_cast<int64>(in.u64())); break;
        case script::kValByte: a.setFloat("val", in.byte() / 255.0); break;
        case script::kValRaw: a.setFloat("val", in.f64()); break;
        case script::kPathZero:
        case script::kPathBare: {
            std::string path = mappedPath(folder, in.text(kMaxNameBytes));
            // The processor must stop at the zero, or at the attribute's end without one.
            if (kind == script::kPathZero) path.push_back('\0');
            a.setBinary("path", path.data(), static_cast<uint32>(path.size()));
            break;
        }
        case script::kString: {
            const char* name = attributeName(in.byte());
            const std::string s = in.text(kMaxNameBytes);
            String128 wide{};
            UString(wide, 128).fromAscii(s.c_str());
            a.setString(name, wide);
            break;
        }
        case script::kIntWrongName:
            a.setInt(in.byte() & 1 ? "path" : "val", static_cast<int64>(in.u64()));
            break;
        case script::kFloatTag: a.setFloat("tag", in.f64()); break;
        case script::kBinaryOdd: {
            const std::string s = in.text(kMaxNameBytes);
            // A lone zero rather than zero bytes: the SDK's host attribute list leaks an empty binary.
            if (s.empty())
                a.setBinary("path", "", 1);
            else
                a.setBinary("tag", s.data(), static_cast<uint32>(s.size()));
            break;
        }
        case script::kName: {
            const std::string s = in.text(kMaxNameBytes);
            // Never zero bytes: the SDK's host attribute list leaks an empty binary.
            if (s.empty())
                a.setBinary("name", "", 1);
            else
                a.setBinary("name", s.data(), static_cast<uint32>(s.size()));
            break;
        }
        default: break;
    }
}

const char* messageId(script::Selector s) {
    switch (s) {
        case script::kValueChange: return "GUIEditor:cvValueChange";
        case script::kFileSelect: return "GUIEditor:cvFileSelect";
        case script::kOpenGui: return "GUIEditor:openGUI";
        case script::kNameChange: return "GUIEditor:cvNameChange";
        default: return nullptr;
    }
}

void runAudio(ProcessorRig& rig, uint8_t control) {
    if (control & 1) rig.setActive(!rig.active());
    const int32_t blocks = (control >> 1) & 7;
    for (int32_t i = 0; i < blocks; ++i) rig.processBlock(1 + ((control >> 4) * 16));
}

}  // namespace

int fuzzMessages(const uint8_t* data, size_t size) {
    ProcessorRig* rig = ProcessorRig::shared();
    if (!rig) return 0;
    // Every input starts from the same processor and the same files.
    rig->restoreFreshState();
    rig->resetFiles();

    ScriptReader in(data, size);
    for (int32_t m = 0; m < kMaxMessages && !in.done(); ++m) {
        const auto selector = static_cast<script::Selector>(in.byte() % script::kSelectorCount);
        if (selector == script::kAudio) {
            runAudio(*rig, in.byte());
            continue;
        }
        IPtr<IMessage> message = owned(new (std::nothrow) HostMessage);
        if (!message) return 0;
        if (selector == script::kGarbageId) {
            message->setMessageID(in.text(kMaxNameBytes).c_str());
        } else if (const char* id = messageId(selector)) {
            message->setMessageID(id);
        }
        const int32_t count = in.byte() % 8;
        IAttributeList* attributes = message->getAttributes();
        for (int32_t i = 0; i < count && attributes; ++i) addAttribute(in, *attributes, rig->fileFolder());
        rig->processor().notify(message);
    }
    // The next input starts inactive; what was queued is applied on the way.
    rig->setActive(false);
    return 0;
}

}  // namespace velt::corvane::fuzz
