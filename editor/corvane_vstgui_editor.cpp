#include "editor/corvane_vstgui_editor.h"

#include "editor/editor_tags.h"
#include "host/editor_protocol.h"
#include "host/engine_display.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;
namespace tags = velt::corvane::editor;
namespace protocol = velt::corvane::host::protocol;

namespace {

constexpr int32 kIdleRateMs = 33;

ViewRect* windowRect() {
    static ViewRect rect(0, 0, 528, 608);
    return &rect;
}

/// A message through the controller's connection; one that cannot be allocated is not sent.
template <typename Fill>
void sendToProcessor(EditController* controller, const char* id, Fill fill) {
    if (!controller) return;
    IPtr<IMessage> message = owned(controller->allocateMessage());
    if (!message) return;
    message->setMessageID(id);
    if (IAttributeList* attributes = message->getAttributes()) fill(*attributes);
    controller->sendMessage(message);
}

}  // namespace

CorvaneVSTGUIEditor::CorvaneVSTGUIEditor(EditController* controller,
                                         velt::corvane::host::ProgramNameWatcher* watcher)
    : VSTGUIEditor(controller, windowRect()), watcher_(watcher) {}

CorvaneVSTGUIEditor::~CorvaneVSTGUIEditor() {
    releaseMenus();
}

bool PLUGIN_API CorvaneVSTGUIEditor::open(void* parent, const PlatformType& platformType) {
    if (frame) return false;
    frame = new (std::nothrow) CFrame(CRect(0, 0, 528, 608), this);
    if (!frame) return false;
    controls_.clear();
    buildTopPage();
    lowerArea_ = new (std::nothrow) CLayeredViewContainer(CRect(0, 240, 528, 608));
    if (lowerArea_) {
        lowerArea_->setTransparency(true);
        frame->addView(lowerArea_);
    }
    buildTonePage();
    buildSamplerPage();
    buildSamplePage();
    buildAboutOverlay();
    if (engine_) {
        refreshAll();
        if (aboutOverlay_) aboutOverlay_->setVisible(false);
    }
    if (!frame->open(parent, platformType)) {
        close();
        return false;
    }
    setIdleRate(kIdleRateMs);
    if (EditController* c = getController()) c->sendMessageID(protocol::kOpenGuiRequest);
    return true;
}

void PLUGIN_API CorvaneVSTGUIEditor::close() {
    releaseMenus();
    controls_.clear();
    sampleLabels_.fill(nullptr);
    topPage_ = lowerArea_ = tonePage_ = samplerPage_ = samplePage_ = aboutOverlay_ = nullptr;
    logoButton_ = libraryLogoButton_ = nullptr;
    pendingFileRequest_ = 0;
    if (frame) {
        CFrame* f = frame;
        frame = nullptr;
        f->close();
        f->forget();
    }
}

void CorvaneVSTGUIEditor::releaseMenus() {
    for (COptionMenu** menu :
         {&systemMenu_, &polyphonyMenu_, &partMenu_, &outputMenu_, &toneMenu_, &samplerMenu_, &sampleMenu_}) {
        if (*menu) (*menu)->forget();
        *menu = nullptr;
    }
}

CMessageResult CorvaneVSTGUIEditor::notify(CBaseObject* sender, IdStringPtr message) {
    if (message == CVSTGUITimer::kMsgTimer) {
        refreshAll();
        if (watcher_) watcher_->checkProgramNames();
    } else if (message == CNewFileSelector::kSelectEndMessage) {
        if (auto* selector = dynamic_cast<CNewFileSelector*>(sender)) {
            finishFileDialog(selector);
            return kMessageNotified;
        }
    }
    return VSTGUIEditor::notify(sender, message);
}

void CorvaneVSTGUIEditor::refreshFromEngine() {
    refreshAll();
    if (aboutOverlay_) aboutOverlay_->setVisible(false);
}

CControl* CorvaneVSTGUIEditor::control(int32_t tag) const {
    auto it = controls_.find(tag);
    return it == controls_.end() ? nullptr : it->second;
}

void CorvaneVSTGUIEditor::keep(int32_t tag, CControl* control) {
    if (control) controls_[tag] = control;
}

void CorvaneVSTGUIEditor::send(int32_t tag, double value) {
    sendToProcessor(getController(), protocol::kValueChange, [&](IAttributeList& attributes) {
        attributes.setInt(protocol::kTagKey, protocol::messageTag(tag));
        attributes.setFloat(protocol::kValueKey, value);
    });
}

void CorvaneVSTGUIEditor::sendFileRequest(int32_t code, const std::string& path) {
    sendToProcessor(getController(), protocol::kFileSelect, [&](IAttributeList& attributes) {
        attributes.setInt(protocol::kTagKey, code);
        attributes.setBinary(protocol::kPathKey, path.c_str(), static_cast<uint32>(path.size() + 1));
    });
}

void CorvaneVSTGUIEditor::sendNameChange(int32_t tag, const char (&name)[protocol::kNameBytes]) {
    sendToProcessor(getController(), protocol::kNameChange, [&](IAttributeList& attributes) {
        attributes.setInt(protocol::kTagKey, protocol::messageTag(tag));
        attributes.setBinary(protocol::kNameKey, name, protocol::kNameBytes);
    });
}

void CorvaneVSTGUIEditor::reportParameter(int32_t controllerNumber, double value) {
    EditController* c = getController();
    if (!c || !engine_) return;
    const auto id = static_cast<ParamID>(protocol::midiParamId(engine_->selectedPart(), controllerNumber));
    // Hosts record a parameter edit only inside its gesture.
    c->beginEdit(id);
    c->performEdit(id, value);
    c->endEdit(id);
}

void CorvaneVSTGUIEditor::valueChanged(CControl* control) {
    if (!engine_ || !control) return;
    const int32_t tag = control->getTag();
    const int32_t group = protocol::groupOf(tag);
    const int32_t item = protocol::codeOf(tag);
    if (tag & protocol::kMirrorBit) {
        onMirrorText(control, group, item);
        return;
    }
    if (!(tag & protocol::kValueBit)) return;
    const float value = control->getValueNormalized();
    switch (group) {
        case protocol::kGroupSystem:
        case protocol::kGroupPart: onSystemOrPart(control, group, item, value); break;
        case protocol::kGroupTone:
        case protocol::kGroupSampler: onPresetControl(control, group, item, value); break;
        case protocol::kGroupSample: onSampleControl(control, item, value); break;
        case tags::kGroupLogo:
            if (value <= 0.5f || !aboutOverlay_) break;
            if (item == 0)
                aboutOverlay_->setVisible(true);
            else if (item == 1)
                aboutOverlay_->setVisible(false);
            break;
        default: break;
    }
}

}  // namespace Vst
}  // namespace Steinberg
