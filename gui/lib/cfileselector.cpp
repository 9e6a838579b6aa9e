#include "gui/lib/cfileselector.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <new>

extern char** environ;

namespace VSTGUI {

IdStringPtr CNewFileSelector::kSelectEndMessage = "CNewFileSelector Select End Message";

namespace {
constexpr uint32_t kReapRetryMs = 20;
constexpr size_t kMaxOutputBytes = 1 << 20;

void sleepMs(long ms) {
    timespec ts{0, ms * 1000000L};
    nanosleep(&ts, nullptr);
}
}  // namespace

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) {
    return new (std::nothrow) CNewFileSelector(parent, style);
}

CNewFileSelector::CNewFileSelector(CFrame* frame, Style style) : frame_(frame), style_(style) {
    request_.mode = style == kSelectSaveFile    ? FileDialogRequest::Mode::kSave
                    : style == kSelectDirectory ? FileDialogRequest::Mode::kDirectory
                                                : FileDialogRequest::Mode::kOpen;
}

CNewFileSelector::~CNewFileSelector() {
    stopChild();
    if (frame_ && running_) frame_->removeCloseListener(this);
    if (delegate_) delegate_->forget();
}

void CNewFileSelector::addFileExtension(const CFileExtension& extension) {
    request_.extensions.emplace_back(extension.getDescription().getString(),
                                     extension.getExtension().getString());
}

UTF8StringPtr CNewFileSelector::getSelectedFile(uint32_t index) const {
    return index < selected_.size() ? selected_[index].c_str() : nullptr;
}

bool CNewFileSelector::run(CBaseObject* delegate) {
    if (running_) return false;
    IPlatformRunLoop* loop = (frame_ && frame_->getRunLoop()) ? frame_->getRunLoop() : getCurrentRunLoop();
    if (!loop) return false;
    FileDialogProgram program;
    if (!findFileDialogProgram(program)) return false;
    commandLine_ = fileDialogArguments(program, request_);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : commandLine_) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return false;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    if (!loop->registerFd(fds[0], this)) {
        close(fds[0]);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return false;
    }
    childPid_ = pid;
    pipeFd_ = fds[0];
    loop_ = loop;
    output_.clear();
    selected_.clear();
    exitStatus_ = -1;
    running_ = true;
    // Alive until the dialog ends, whoever else lets go of us or of the delegate meanwhile.
    remember();
    delegate_ = delegate;
    if (delegate_) delegate_->remember();
    if (frame_) frame_->addCloseListener(this);
    return true;
}

bool CNewFileSelector::drainOutput() {
    char buffer[4096];
    for (;;) {
        ssize_t n = read(pipeFd_, buffer, sizeof(buffer));
        if (n > 0) {
            if (output_.size() < kMaxOutputBytes) output_.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
        return true;  // end of file or a read error: the dialog has finished writing
    }
}

bool CNewFileSelector::tryReap() {
    if (childPid_ <= 0) return true;
    int status = 0;
    pid_t r = waitpid(childPid_, &status, WNOHANG);
    if (r == 0) return false;
    if (r < 0 && errno == ECHILD)
        exitStatus_ = output_.empty() ? 1 : 0;  // reaped by a host that ignores SIGCHLD: judge by the output
    else
        exitStatus_ = (r == childPid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    childPid_ = -1;
    return true;
}

void CNewFileSelector::onRunLoopFdReadable(int) {
    if (!drainOutput()) return;
    loop_->unregisterFd(this);
    close(pipeFd_);
    pipeFd_ = -1;
    if (tryReap()) {
        finish();
        return;
    }
    // The child closed its output but has not exited yet.
    waitingForExit_ = true;
    timerRegistered_ = loop_->registerTimer(kReapRetryMs, this);
}

void CNewFileSelector::onRunLoopTimer() {
    if (!tryReap()) return;
    finish();
}

void CNewFileSelector::releaseRunState() {
    if (timerRegistered_ && loop_) loop_->unregisterTimer(this);
    timerRegistered_ = false;
    waitingForExit_ = false;
    if (pipeFd_ >= 0) {
        if (loop_) loop_->unregisterFd(this);
        close(pipeFd_);
        pipeFd_ = -1;
    }
    if (frame_ && running_) frame_->removeCloseListener(this);
    running_ = false;
    loop_ = nullptr;
}

void CNewFileSelector::finish() {
    selected_ = exitStatus_ == 0 ? parseFileDialogOutput(output_) : std::vector<std::string>();
    if (!request_.multiple && selected_.size() > 1) selected_.resize(1);
    releaseRunState();
    CBaseObject* delegate = delegate_;
    delegate_ = nullptr;
    if (delegate) {
        delegate->notify(this, kSelectEndMessage);
        delegate->forget();
    }
    forget();  // the reference run() took
}

void CNewFileSelector::stopChild() {
    if (childPid_ > 0) {
        kill(childPid_, SIGTERM);
        bool reaped = false;
        for (int i = 0; i < 50 && !reaped; ++i) {
            reaped = tryReap();
            if (!reaped) sleepMs(5);
        }
        if (!reaped) {
            kill(childPid_, SIGKILL);
            waitpid(childPid_, nullptr, 0);
            childPid_ = -1;
        }
    }
    releaseRunState();
}

void CNewFileSelector::cancel() {
    if (!running_) return;
    stopChild();
    selected_.clear();
    CBaseObject* delegate = delegate_;
    delegate_ = nullptr;
    if (delegate) delegate->forget();
    forget();  // the reference run() took
}

void CNewFileSelector::onFrameClosing(CFrame*) {
    // The frame removes us from its list before calling; keep releaseRunState from doing it again.
    frame_ = nullptr;
    cancel();
}

}  // namespace VSTGUI
