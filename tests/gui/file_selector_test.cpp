#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gui_test_support.h"

using namespace guitest;

namespace {

struct Delegate : CBaseObject {
    int ends = 0;
    CBaseObject* sender = nullptr;
    std::vector<std::string> files;
    CMessageResult notify(CBaseObject* s, IdStringPtr message) override {
        if (std::string(message) != CNewFileSelector::kSelectEndMessage) return kMessageUnknown;
        auto* selector = dynamic_cast<CNewFileSelector*>(s);
        if (!selector) return kMessageUnknown;
        ++ends;
        sender = s;
        files.clear();
        for (uint32_t i = 0; i < selector->getNumSelectedFiles(); ++i)
            files.push_back(selector->getSelectedFile(i));
        EXPECT_EQ(selector->getSelectedFile(selector->getNumSelectedFiles()), nullptr);
        return kMessageNotified;
    }
};

// A stand-in dialog: records its arguments, then answers as DIALOG_MODE says.
struct StandInDialog {
    StandInDialog() {
        dir = testFolder("file-dialog-" + std::to_string(getpid()));  // parallel runs keep apart
        script = dir + "/dialog.sh";
        argsFile = dir + "/args.txt";
        std::ofstream out(script);
        out << "#!/bin/sh\n"
               "printf '%s\\n' \"$@\" > \"$DIALOG_ARGS_FILE\"\n"
               "case \"$DIALOG_MODE\" in\n"
               "  single) echo '/samples/one.wav' ;;\n"
               "  multiple) printf '/samples/a.wav\\n/samples/b c.wav\\n/samples/d.wav\\n' ;;\n"
               "  cancel) exit 1 ;;\n"
               "  late) sleep 0.3; echo '/late/file.txt' ;;\n"
               "  slow) sleep 20; echo '/never' ;;\n"
               "esac\n";
        out.close();
        chmod(script.c_str(), 0755);
        setenv("CORVANE_FILE_DIALOG", script.c_str(), 1);
        setenv("DIALOG_ARGS_FILE", argsFile.c_str(), 1);
        std::remove(argsFile.c_str());
    }
    ~StandInDialog() {
        unsetenv("CORVANE_FILE_DIALOG");
        std::remove(script.c_str());
        std::remove(argsFile.c_str());
        rmdir(dir.c_str());
    }
    void mode(const char* m) { setenv("DIALOG_MODE", m, 1); }
    std::vector<std::string> args() const {
        std::ifstream in(argsFile);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
        return lines;
    }
    static bool contains(const std::vector<std::string>& v, const std::string& s) {
        for (const auto& x : v)
            if (x == s) return true;
        return false;
    }
    std::string dir, script, argsFile;
};

bool noChildLeft() {
    int status = 0;
    return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

}  // namespace

TEST(FileSelector, SingleFileThroughTheRunLoop) {
    StandInDialog dialog;
    dialog.mode("single");
    OffscreenSession session;
    auto* delegate = new Delegate;
    CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
    ASSERT_NE(selector, nullptr);
    selector->setTitle("Import TonePreset Parameters File");
    selector->addFileExtension(CFileExtension("cvx files(.cvx)", "cvx"));
    selector->addFileExtension(CFileExtension("text files(.txt)", "txt"));
    selector->setAllowMultiFileSelection(false);
    ASSERT_TRUE(selector->run(delegate));
    EXPECT_FALSE(selector->run(delegate)) << "one run at a time";
    CNewFileSelector* sent = selector;
    selector->forget();  // as an editor does right after run
    EXPECT_EQ(delegate->ends, 0) << "nothing happens before the run loop turns";
    ASSERT_TRUE(session.runLoop().runUntil([&] { return delegate->ends > 0; }, 5000));
    EXPECT_EQ(delegate->ends, 1);
    EXPECT_EQ(delegate->sender, sent);
    ASSERT_EQ(delegate->files.size(), 1u);
    EXPECT_EQ(delegate->files[0], "/samples/one.wav");
    EXPECT_EQ(session.runLoop().fdCount(), 0u);
    EXPECT_EQ(session.runLoop().timerCount(), 0u);
    EXPECT_TRUE(noChildLeft());

    auto args = dialog.args();
    EXPECT_TRUE(StandInDialog::contains(args, "--file-selection"));
    EXPECT_TRUE(StandInDialog::contains(args, "--title=Import TonePreset Parameters File"));
    EXPECT_TRUE(StandInDialog::contains(args, "--file-filter=cvx files(.cvx) | *.cvx"));
    EXPECT_TRUE(StandInDialog::contains(args, "--file-filter=text files(.txt) | *.txt"));
    EXPECT_FALSE(StandInDialog::contains(args, "--multiple"));
    EXPECT_FALSE(StandInDialog::contains(args, "--save"));
    delegate->forget();
}

TEST(FileSelector, MultipleFiles) {
    StandInDialog dialog;
    dialog.mode("multiple");
    OffscreenSession session;
    auto* delegate = new Delegate;
    CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
    selector->setTitle("Import WAV File");
    selector->setAllowMultiFileSelection(true);
    selector->addFileExtension(CFileExtension("WAV Files(.wav)", "wav"));
    ASSERT_TRUE(selector->run(delegate));
    selector->forget();
    ASSERT_TRUE(session.runLoop().runUntil([&] { return delegate->ends > 0; }, 5000));
    ASSERT_EQ(delegate->files.size(), 3u);
    EXPECT_EQ(delegate->files[1], "/samples/b c.wav");
    EXPECT_EQ(delegate->files[2], "/samples/d.wav");
    auto args = dialog.args();
    EXPECT_TRUE(StandInDialog::contains(args, "--multiple"));
    EXPECT_TRUE(StandInDialog::contains(args, "--separator=")) << "the separator is a newline";
    delegate->forget();
}

TEST(FileSelector, SaveDialogProposesTheDefaultName) {
    StandInDialog dialog;
    dialog.mode("single");
    OffscreenSession session;
    auto* delegate = new Delegate;
    CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectSaveFile);
    selector->setTitle("Export SampleData Parameters File");
    selector->setDefaultSaveName("SampleDataParameters.txt");
    selector->setInitialDirectory("/home/user");
    selector->addFileExtension(CFileExtension("text file(.txt)", "txt"));
    ASSERT_TRUE(selector->run(delegate));
    selector->forget();
    ASSERT_TRUE(session.runLoop().runUntil([&] { return delegate->ends > 0; }, 5000));
    auto args = dialog.args();
    EXPECT_TRUE(StandInDialog::contains(args, "--save"));
    EXPECT_TRUE(StandInDialog::contains(args, "--filename=/home/user/SampleDataParameters.txt"));
    delegate->forget();
}

TEST(FileSelector, CancelledDialogEndsWithoutFiles) {
    StandInDialog dialog;
    dialog.mode("cancel");
    OffscreenSession session;
    auto* delegate = new Delegate;
    CNewFileSelector* selector = CNewFileSelector::create();
    ASSERT_TRUE(selector->run(delegate));
    selector->forget();
    ASSERT_TRUE(session.runLoop().runUntil([&] { return delegate->ends > 0; }, 5000));
    EXPECT_TRUE(delegate->files.empty());
    EXPECT_TRUE(noChildLeft());
    delegate->forget();
}

TEST(FileSelector, ForgottenWhileRunningStillReports) {
    StandInDialog dialog;
    dialog.mode("late");
    OffscreenSession session;
    auto* delegate = new Delegate;
    delegate->remember();  // the test's own probe
    CNewFileSelector* selector = CNewFileSelector::create();
    ASSERT_TRUE(selector->run(delegate));
    selector->forget();
    delegate->forget();  // the creator lets go; the selector keeps the delegate while it runs
    EXPECT_EQ(delegate->getNbReference(), 2);
    ASSERT_TRUE(session.runLoop().runUntil([&] { return delegate->ends > 0; }, 5000));
    ASSERT_EQ(delegate->files.size(), 1u);
    EXPECT_EQ(delegate->files[0], "/late/file.txt");
    EXPECT_EQ(delegate->getNbReference(), 1) << "released after the notification";
    EXPECT_TRUE(noChildLeft());
    delegate->forget();
}

TEST(FileSelector, CancelWhileRunningDropsTheResult) {
    StandInDialog dialog;
    dialog.mode("slow");
    OffscreenSession session;
    auto* delegate = new Delegate;
    delegate->remember();
    CNewFileSelector* selector = CNewFileSelector::create();
    ASSERT_TRUE(selector->run(delegate));
    EXPECT_TRUE(selector->isRunning());
    session.runLoop().advance(50);
    auto start = std::chrono::steady_clock::now();
    selector->cancel();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(selector->isRunning());
    EXPECT_TRUE(noChildLeft()) << "the child was reaped";
    session.runLoop().runUntil([] { return false; }, 100);
    EXPECT_EQ(delegate->ends, 0);
    EXPECT_EQ(session.runLoop().fdCount(), 0u);
    selector->forget();
    EXPECT_EQ(delegate->getNbReference(), 2) << "cancel released the delegate";
    delegate->forget();
    delegate->forget();
}

TEST(FileSelector, ClosingTheFrameCancelsItsDialog) {
    StandInDialog dialog;
    dialog.mode("slow");
    auto* delegate = new Delegate;
    {
        OffscreenFrame f;
        CNewFileSelector* selector = CNewFileSelector::create(f.frame, CNewFileSelector::kSelectFile);
        ASSERT_TRUE(selector->run(delegate));
        selector->forget();
        f.frame->forget();
        f.frame = nullptr;
        EXPECT_TRUE(noChildLeft());
        f.session.runLoop().runUntil([] { return false; }, 50);
        EXPECT_EQ(f.session.runLoop().fdCount(), 0u);
    }
    EXPECT_EQ(delegate->ends, 0);
    delegate->forget();
}

TEST(FileSelector, NoProgramOrNoRunLoopMeansNoDialog) {
    auto* delegate = new Delegate;
    {
        StandInDialog dialog;
        CNewFileSelector* selector = CNewFileSelector::create();
        EXPECT_FALSE(selector->run(delegate)) << "no run loop";
        selector->forget();
    }
    {
        OffscreenSession session;
        setenv("CORVANE_FILE_DIALOG", "/nonexistent/dialog-program", 1);
        CNewFileSelector* selector = CNewFileSelector::create();
        EXPECT_FALSE(selector->run(delegate));
        selector->forget();
        unsetenv("CORVANE_FILE_DIALOG");
    }
    EXPECT_EQ(delegate->ends, 0);
    EXPECT_EQ(delegate->getNbReference(), 1);
    delegate->forget();
}

TEST(FileSelector, CommandLinesAndOutputParsing) {
    FileDialogRequest r;
    r.mode = FileDialogRequest::Mode::kOpen;
    r.title = "Import WAV File";
    r.multiple = true;
    r.extensions = {{"WAV Files(.wav)", "wav"}};
    FileDialogProgram kd{"/usr/bin/kdialog", FileDialogFlavor::kKDialog};
    auto args = fileDialogArguments(kd, r);
    std::vector<std::string> want{
        "/usr/bin/kdialog",  "--title", "Import WAV File",      "--multiple", "--separate-output",
        "--getopenfilename", ".",       "*.wav|WAV Files(.wav)"};
    EXPECT_EQ(args, want);
    FileDialogProgram zen{"zenity", FileDialogFlavor::kZenity};
    args = fileDialogArguments(zen, r);
    EXPECT_EQ(args[0], "zenity");
    EXPECT_EQ(args[1], "--file-selection");

    auto paths = parseFileDialogOutput("/a b/c.wav\n\n/d.wav\r\n");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "/a b/c.wav");
    EXPECT_EQ(paths[1], "/d.wav");
    EXPECT_TRUE(parseFileDialogOutput("").empty());
}
