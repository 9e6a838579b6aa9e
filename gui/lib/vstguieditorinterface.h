#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gui/lib/vstguifwd.h"

namespace VSTGUI {

/** What a frame knows of the editor that owns it. */
class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;

    virtual CFrame* getFrame() const { return frame; }
    /** A control with this tag starts (ends) a gesture; editors report parameter edits here. */
    virtual void beginEdit(int32_t /*index*/) {}
    virtual void endEdit(int32_t /*index*/) {}
    virtual int32_t getKnobMode() const { return 0; }
    virtual void doIdleStuff() {}
    /** Files dragged over the frame (local paths): true when the editor would take them. */
    virtual bool canDropFiles(const std::vector<std::string>& /*paths*/) { return false; }
    /** Files dropped on the frame: true when the editor took them. */
    virtual bool onDropFiles(const std::vector<std::string>& /*paths*/) { return false; }

protected:
    VSTGUIEditorInterface() = default;
    CFrame* frame = nullptr;
};

}  // namespace VSTGUI
