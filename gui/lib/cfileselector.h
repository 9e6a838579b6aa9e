#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "gui/lib/cbaseobject.h"
#include "gui/lib/cframe.h"
#include "gui/lib/file_dialog_command.h"
#include "gui/lib/utf8string.h"
#include "gui/platform/run_loop.h"

namespace VSTGUI {

/** A file type offered by a file selector. */
class CFileExtension {
public:
    CFileExtension(const UTF8String& description, const UTF8String& extension,
                   const UTF8String& mimeType = "", int32_t macType = 0, const UTF8String& uti = "")
        : description_(description),
          extension_(extension),
          mimeType_(mimeType),
          uti_(uti),
          macType_(macType) {}
    const UTF8String& getDescription() const { return description_; }
    const UTF8String& getExtension() const { return extension_; }
    const UTF8String& getMimeType() const { return mimeType_; }
    const UTF8String& getUTI() const { return uti_; }
    int32_t getMacType() const { return macType_; }

private:
    UTF8String description_, extension_, mimeType_, uti_;
    int32_t macType_;
};

/** The desktop's file dialog, run as a child process without blocking: its output is read
    through the run loop, and when it ends the delegate gets notify(selector, kSelectEndMessage).
    A running selector keeps itself (and its delegate) alive, so the creator may forget it right
    after run. cancel() or closing the frame stops the dialog: no result, no notification. */
class CNewFileSelector : public CBaseObject,
                         private IRunLoopFdHandler,
                         private IRunLoopTimerHandler,
                         private IFrameCloseListener {
public:
    enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };

    /** A new selector (one reference for the caller), or null when out of memory. */
    static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);
    ~CNewFileSelector() override;

    /** Starts the dialog; false when it is already running, no dialog program or run loop
        exists, or the program cannot be started. */
    bool run(CBaseObject* delegate);
    /** Stops a running dialog without a result or a notification. */
    void cancel();
    bool isRunning() const { return running_; }

    void setTitle(const UTF8String& title) { request_.title = title.getString(); }
    void setInitialDirectory(const UTF8String& path) { request_.initialDirectory = path.getString(); }
    void setDefaultSaveName(const UTF8String& name) { request_.defaultSaveName = name.getString(); }
    void setDefaultExtension(const CFileExtension& extension) {
        defaultExtension_ = extension.getExtension().getString();
    }
    void setAllowMultiFileSelection(bool state) { request_.multiple = state; }
    void addFileExtension(const CFileExtension& extension);

    uint32_t getNumSelectedFiles() const { return static_cast<uint32_t>(selected_.size()); }
    /** The index-th chosen path, or null. */
    UTF8StringPtr getSelectedFile(uint32_t index) const;

    Style getStyle() const { return style_; }
    /** The command line the last run used (program first). */
    const std::vector<std::string>& getLastCommandLine() const { return commandLine_; }

    /** Sent to the delegate when the dialog ends: "CNewFileSelector Select End Message". */
    static IdStringPtr kSelectEndMessage;

private:
    CNewFileSelector(CFrame* frame, Style style);
    void onRunLoopFdReadable(int fd) override;
    void onRunLoopTimer() override;
    void onFrameClosing(CFrame* frame) override;
    bool drainOutput();
    bool tryReap();
    void finish();
    void stopChild();
    void releaseRunState();

    CFrame* frame_;
    Style style_;
    FileDialogRequest request_;
    std::string defaultExtension_;
    std::vector<std::string> selected_;
    std::vector<std::string> commandLine_;
    std::string output_;
    IPlatformRunLoop* loop_ = nullptr;
    CBaseObject* delegate_ = nullptr;
    pid_t childPid_ = -1;
    int exitStatus_ = -1;
    int pipeFd_ = -1;
    bool waitingForExit_ = false;
    bool timerRegistered_ = false;
    bool running_ = false;
};

}  // namespace VSTGUI
