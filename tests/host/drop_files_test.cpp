// Files dragged from a file manager onto the built module's editor, attached to an X11 window as
// a host embeds it: WAV files are imported as "Import WAV File" imports them, anything else is
// refused and changes nothing, and a source that never hands its data over is given up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/state_chunk.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tests/host/embedded_view.h"
#include "tests/host/xdnd_source.h"
#include "tests/plugin/plugin_test_support.h"
#include "tests/wav/wav_builder.h"

// Last: its macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xatom.h>

namespace velt::corvane::testing {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

const std::string kDir = std::string(CORVANE_BINARY_DIR) + "/drop-files-test";

std::string writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    wavtest::writeFile(path, bytes);
    return path;
}

std::vector<uint8_t> textBytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

/// A mono 16-bit file of frames samples.
std::vector<uint8_t> wavOf(int frames) {
    std::vector<int64_t> samples;
    for (int i = 0; i < frames; ++i) samples.push_back((i * 997) % 20000 - 10000);
    return wavtest::simpleWav(1, 22050, 16, samples);
}

TEST(DropFiles, WavFilesFillTheSelectedSlotAndTheNextAndAnythingElseIsRefused) {
    CORVANE_EMBEDDED_VIEW(rig);
    Display* x = rig.x;
    const Window parent = rig.parent;
    std::system(("rm -rf '" + kDir + "' && mkdir -p '" + kDir + "/drop dir'").c_str());
    const std::string first = writeFile(kDir + "/first.wav", wavOf(300));
    const std::string second = writeFile(kDir + "/drop dir/kick two.wav", wavOf(120));
    const std::string notes = writeFile(kDir + "/notes.txt", textBytes("not a sound\n"));
    const std::string fakeWav = writeFile(kDir + "/fake.wav", textBytes("RIFF but not really\n"));
    const auto uri = [](const std::string& path) {
        std::string encoded;
        for (char c : path) encoded += c == ' ' ? std::string("%20") : std::string(1, c);
        return "file://" + encoded;
    };

    FUnknownPtr<IConnectionPoint> processor(rig.instance->component());
    ASSERT_TRUE(processor);
    XdndSource source(rig.display.name());
    ASSERT_TRUE(source.ok());
    const auto pump = [&] { rig.loop->runOnce(5.0, source.fd()); };
    for (int i = 0; i < 10; ++i) pump();

    // The window we made inside the host's says it takes drops, protocol version 5.
    Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    ASSERT_TRUE(XQueryTree(x, parent, &root, &up, &children, &count));
    ASSERT_EQ(count, 1u);
    const Window target = children[0];
    XFree(children);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* aware = nullptr;
    ASSERT_EQ(XGetWindowProperty(x, target, XInternAtom(x, "XdndAware", False), 0, 1, False, XA_ATOM, &type,
                                 &format, &items, &after, &aware),
              Success);
    ASSERT_EQ(items, 1u);
    EXPECT_EQ(*reinterpret_cast<long*>(aware), 5);
    XFree(aware);
    // ... and names itself its proxy, so that a host can name it the proxy of its own window.
    unsigned char* proxy = nullptr;
    ASSERT_EQ(XGetWindowProperty(x, target, XInternAtom(x, "XdndProxy", False), 0, 1, False, XA_WINDOW, &type,
                                 &format, &items, &after, &proxy),
              Success);
    ASSERT_EQ(items, 1u);
    EXPECT_EQ(*reinterpret_cast<Window*>(proxy), target);
    XFree(proxy);

    // Slot 5 selected, as the SAMPLE NUM slider selects it.
    IPtr<IMessage> select = owned(new HostMessage);
    select->setMessageID("GUIEditor:cvValueChange");
    select->getAttributes()->setInt("tag", 0x3001);
    select->getAttributes()->setFloat("val", 5 / 127.0);
    ASSERT_EQ(processor->notify(select), kResultOk);
    const std::vector<uint8_t> before = test::saveState(rig.instance->component());

    const auto refused = [&](const std::vector<std::string>& types, const std::string& list,
                             const char* what) {
        const XdndSource::Outcome o = source.drag(target, types, list, pump);
        EXPECT_EQ(o.statuses, 2) << what;
        EXPECT_FALSE(o.lastAccepted) << what;
        EXPECT_TRUE(o.finished) << what;
        EXPECT_FALSE(o.finishedAccepted) << what;
        EXPECT_FALSE(o.finishedCopy) << what;
        EXPECT_TRUE(test::saveState(rig.instance->component()) == before) << what;
        return o;
    };
    // Refused as soon as the files are known, before the drop: the pointer shows it.
    EXPECT_TRUE(
        refused({"text/uri-list"}, uri(first) + "\r\n" + uri(notes) + "\r\n", "a text file").firstAccepted);
    refused({"text/uri-list"}, "http://example.org/a.wav\r\n", "a remote file");
    refused({"text/uri-list"}, uri(fakeWav) + "\r\n", "a text file named .wav");
    // Nothing it can read offered: refused from the first answer, the data never asked for.
    const XdndSource::Outcome plain = refused({"text/plain"}, "file:///tmp/x.wav\r\n", "plain text");
    EXPECT_FALSE(plain.firstAccepted);
    EXPECT_EQ(plain.requests, 0);

    // A source that never hands its data over: the drop is given up, the loop never waits.
    const XdndSource::Outcome stuck =
        source.drag(target, {"text/uri-list"}, uri(first) + "\r\n", pump, false);
    EXPECT_TRUE(stuck.finished);
    EXPECT_FALSE(stuck.finishedAccepted);
    EXPECT_GT(stuck.dropToFinishSeconds, 1.5);
    EXPECT_LT(stuck.dropToFinishSeconds, 3.5);
    EXPECT_LT(stuck.longestTargetTurnSeconds, 0.25);
    EXPECT_TRUE(test::saveState(rig.instance->component()) == before);

    // Two WAV files, the second's path percent-encoded with spaces, in a list long enough to
    // need more than one read of a property, with the types offered as a list; dragged over the
    // host's window, which names ours its proxy (the answers must name the host's window).
    std::string list = "# dragged from a file manager\r\n";
    while (list.size() < 300000) list += "# " + std::string(70, 'x') + "\r\n";
    list += uri(first) + "\r\n" + uri(second) + "\r\n";
    long proxyOfParent = static_cast<long>(target);
    XChangeProperty(x, parent, XInternAtom(x, "XdndProxy", False), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&proxyOfParent), 1);
    XSync(x, False);
    const XdndSource::Outcome o = source.drag(
        parent, {"x-special/gnome-copied-files", "UTF8_STRING", "text/plain", "text/uri-list"}, list, pump);
    EXPECT_TRUE(o.firstAccepted);
    EXPECT_TRUE(o.lastAccepted);
    EXPECT_TRUE(o.lastCopy);
    EXPECT_TRUE(o.finished);
    EXPECT_TRUE(o.finishedAccepted);
    EXPECT_TRUE(o.finishedCopy);
    EXPECT_EQ(o.requests, 1);
    const state::StateChunk chunk = test::parseState(test::saveState(rig.instance->component()));
    for (int32_t slot = 0; slot < 128; ++slot) {
        const state::SlotEntry& e = chunk.slots[slot];
        if (slot == 5 || slot == 6) {
            EXPECT_TRUE(e.present) << slot;
            EXPECT_EQ(e.path, slot == 5 ? first : second);
            EXPECT_EQ(e.encoding, 0);
            EXPECT_EQ(e.end, slot == 5 ? 300u : 120u);
            EXPECT_EQ(e.sampleRate, 22050.0f);
        } else {
            EXPECT_FALSE(e.present) << slot;
        }
    }
}

}  // namespace
}  // namespace velt::corvane::testing
