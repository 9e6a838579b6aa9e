// One thread calls process in a loop, as a host's audio thread does, while the main thread
// sends every kind of edit: value changes of every group, WAV imports into sounding slots,
// text imports, state restores, polyphony changes, and the editor opened and closed. The
// run must end in exactly the state the same edits give without audio. Built with
// ThreadSanitizer in the test command; CORVANE_STRESS_SECONDS sets the length (the soak).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/editor/editor_rig.h"
#include "tests/plugin/test_files.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::stresstest {
namespace {

using namespace editortest;

double stressSeconds() {
    const char* text = std::getenv("CORVANE_STRESS_SECONDS");
    const double s = text ? std::atof(text) : 0.0;
    return s > 0.0 ? s : 3.0;
}

/// One main-thread action, replayable on another instance.
struct Action {
    enum Kind { Value, File, Restore, Editor } kind;
    int64 tag = 0;
    double val = 0.0;
    std::string path;
    int32_t restore = 0;
};

class Script {
public:
    Script(const test::TempFolder& folder, uint32_t seed) : random_(seed) {
        for (int32_t i = 0; i < 3; ++i)
            wavs_.push_back(
                test::writeRampWav(folder.file("w" + std::to_string(i) + ".wav"), 4000 + 3000 * i));
        tones_ = folder.file("tones.txt");
        const std::string text = "@I:3 \"Stress tone     \" 100 1 9000 4 0 10 120 90 20 100 1 50\n";
        test::writeBytes(tones_, std::vector<uint8_t>(text.begin(), text.end()));
    }

    Action next() {
        Action a;
        const uint32_t pick = random_() % 100;
        if (pick < 80) {
            static const int64 kTags[] = {
                0x0001, 0x0002, 0x0083, 0x0084, 0x0101, 0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107,
                0x0108, 0x0109, 0x0182, 0x0183, 0x0190, 0x1001, 0x1003, 0x1006, 0x1007, 0x1008, 0x1009,
                0x100A, 0x100B, 0x100C, 0x100D, 0x100E, 0x100F, 0x1010, 0x2001, 0x2003, 0x2004, 0x2005,
                0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x200B, 0x3001, 0x3004, 0x3005, 0x3007, 0x3008,
                0x3009, 0x300A, 0x1081, 0x2081, 0x0181, 0x0081, 0x3081};
            a.kind = Action::Value;
            a.tag = kTags[random_() % (sizeof kTags / sizeof kTags[0])];
            const int32_t code = static_cast<int32_t>(a.tag & 0xFF);
            const bool plain = (a.tag >> 8) == 0x30 && code >= 4 && code <= 10;
            a.val = plain ? static_cast<double>(random_() % 12000) : (random_() % 1001) / 1000.0;
            // Keep the selected slot among the few that get samples.
            if (a.tag == 0x3001) a.val = (random_() % 3) / 127.0;
        } else if (pick < 90) {
            a.kind = Action::File;
            if (random_() % 4 == 0) {
                a.tag = 0x1100;
                a.path = tones_;
            } else {
                a.tag = (0x2100 + 0x100 * (random_() % 3)) | (random_() % 3);
                a.path = wavs_[random_() % wavs_.size()];
            }
        } else if (pick < 93) {
            a.kind = Action::Value;
            a.tag = 0x0090;
            a.val = (random_() % 9) / 8.0;
        } else if (pick < 96) {
            a.kind = Action::Restore;
            a.restore = static_cast<int32_t>(random_() % 2);
        } else {
            a.kind = Action::Editor;
        }
        return a;
    }

private:
    std::mt19937 random_;
    std::vector<std::string> wavs_;
    std::string tones_;
};

void sendValue(IConnectionPoint* processor, int64 tag, double val) {
    IPtr<IMessage> m = Steinberg::owned(new HostMessage);
    m->setMessageID("GUIEditor:cvValueChange");
    m->getAttributes()->setInt("tag", tag);
    m->getAttributes()->setFloat("val", val);
    processor->notify(m);
}

void sendFile(IConnectionPoint* processor, int64 code, const std::string& path) {
    IPtr<IMessage> m = Steinberg::owned(new HostMessage);
    m->setMessageID("GUIEditor:cvFileSelect");
    m->getAttributes()->setInt("tag", code);
    m->getAttributes()->setBinary("path", path.c_str(), static_cast<uint32>(path.size() + 1));
    processor->notify(m);
}

std::vector<uint8_t> stateOf(IComponent* component) {
    IPtr<MemoryStream> stream = Steinberg::owned(new MemoryStream);
    EXPECT_EQ(component->getState(stream), kResultOk);
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    return std::vector<uint8_t>(data, data + stream->getSize());
}

void restore(IComponent* component, const std::vector<uint8_t>& bytes) {
    IPtr<MemoryStream> stream = Steinberg::owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    component->setState(stream);
}

void apply(const Action& a, EditorRig& rig, const std::vector<std::vector<uint8_t>>& states,
           bool withEditor) {
    switch (a.kind) {
        case Action::Value: sendValue(rig.processorPoint, a.tag, a.val); break;
        case Action::File: sendFile(rig.processorPoint, a.tag, a.path); break;
        case Action::Restore: restore(rig.component, states[a.restore]); break;
        case Action::Editor:
            if (!withEditor) break;
            if (rig.editor) {
                rig.closeView();
            } else {
                rig.openView();
            }
            break;
    }
}

TEST(Stress, EditsWhileProcessingEndInTheStateTheEditsImply) {
    test::TempFolder folder;
    Script script(folder, 20261207);
    EditorRig live;
    EditorRig replica;
    // Two saved sounds to restore: a new instance's, and one with a sample and a loop.
    std::vector<std::vector<uint8_t>> states;
    {
        // Made on an instance of their own: a restore keeps slots the state does not name.
        EditorRig maker;
        states.push_back(stateOf(maker.component));
        sendFile(maker.processorPoint, 0x2101, test::writeRampWav(folder.file("saved.wav"), 9000));
        sendValue(maker.processorPoint, 0x3001, 1.0 / 127.0);
        sendValue(maker.processorPoint, 0x300A, 9000.0);
        sendValue(maker.processorPoint, 0x3009, 2000.0);
        states.push_back(stateOf(maker.component));
    }

    tools::Vst3Processing processing(live.component, live.processor);
    ASSERT_EQ(processing.prepare(48000.0, 128), kResultOk);
    std::atomic<bool> running{true};
    std::atomic<int64_t> blocks{0};
    std::thread audio([&] {
        tools::HostEventList events(256);
        int32_t step = 0;
        while (running.load(std::memory_order_relaxed)) {
            events.clear();
            for (int32_t ch = 0; ch < 16; ++ch) {
                events.noteOn(ch, ch, 36 + (step * 5 + ch * 7) % 60, 100);
                events.noteOff(64 + ch, ch, 36 + ((step + 15) * 5 + ch * 7) % 60);
            }
            processing.processBlock(128, &events, nullptr);
            ++step;
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    // Some hosts save from a thread of their own while the main thread edits.
    std::atomic<int64_t> otherThreadSaves{0};
    std::thread saver([&] {
        while (running.load(std::memory_order_relaxed)) {
            if (stateOf(live.component).size() < 7485) ADD_FAILURE() << "a save from another thread was cut";
            otherThreadSaves.fetch_add(1, std::memory_order_relaxed);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });

    std::vector<Action> done;
    size_t replayed = 0;
    int32_t compared = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(stressSeconds());
    while (std::chrono::steady_clock::now() < end) {
        const Action a = script.next();
        apply(a, live, states, true);
        done.push_back(a);
        // The editor's timer runs on whichever hand-driven loop is current.
        live.loop.advance(1);
        replica.loop.advance(1);
        if (done.size() % 40 == 0) {
            // A save in the middle holds every edit made so far, whatever the audio thread
            // has applied: the replica, which has no audio thread, says what that is.
            for (; replayed < done.size(); ++replayed) apply(done[replayed], replica, states, false);
            const std::vector<uint8_t> a = stateOf(live.component), b = stateOf(replica.component);
            size_t at = 0;
            while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
            EXPECT_TRUE(a == b) << "after " << done.size() << " edits, first difference at byte " << at
                                << " of " << a.size() << " / " << b.size();
            ++compared;
        }
    }
    running = false;
    saver.join();
    audio.join();
    processing.stop();
    live.closeView();

    for (; replayed < done.size(); ++replayed) apply(done[replayed], replica, states, false);
    EXPECT_GT(compared, 0);
    EXPECT_GT(otherThreadSaves.load(), 0);
    EXPECT_GT(blocks.load(), 10);
    EXPECT_GT(done.size(), 100u);
    EXPECT_TRUE(stateOf(live.component) == stateOf(replica.component))
        << done.size() << " edits over " << blocks.load() << " blocks";
    std::printf(
        "stress: %zu edits, %lld blocks of 128 frames, 16 notes a block, %d mid-run saves compared, "
        "%lld saves from another thread\n",
        done.size(), static_cast<long long>(blocks.load()), compared,
        static_cast<long long>(otherThreadSaves.load()));
}

}  // namespace
}  // namespace velt::corvane::stresstest
