// The editor's message protocol, driven through the connection points of the processor and
// controller built from the module: value changes with their echoes, file requests, the
// opening handshake, and the program lists that follow the tone names.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "host/state_chunk.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tests/plugin/plugin_test_support.h"
#include "tests/plugin/test_files.h"
#include "tests/plugin/unit_handler_probe.h"
#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_object.h"
#include "tools/vst3host/vst3_module.h"
#include "tools/vst3host/vst3_processing.h"

namespace velt::corvane::test {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

/// One message the processor sent, as the controller would receive it.
struct Sent {
    std::string id;
    bool hasTag = false;
    int64 tag = 0;
    double val = 0.0;
    uint32 cvsetSize = 0;
};

/// Stands where the controller's connection would be: records what the processor sends,
/// then hands it on to the controller when there is one.
class Probe : public IConnectionPoint {
public:
    CORVANE_HOST_OBJECT(IConnectionPoint)
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage* message) override {
        Sent s;
        s.id = message->getMessageID() ? message->getMessageID() : "";
        if (IAttributeList* a = message->getAttributes()) {
            s.hasTag = a->getInt("tag", s.tag) == kResultOk;
            a->getFloat("val", s.val);
            const void* data = nullptr;
            if (a->getBinary("cvset", data, s.cvsetSize) != kResultOk) s.cvsetSize = 0;
        }
        sent.push_back(s);
        return forward ? forward->notify(message) : kResultOk;
    }
    std::vector<Sent> sent;
    IConnectionPoint* forward = nullptr;
};

IPtr<IMessage> message(const char* id) {
    IPtr<IMessage> m = owned(new HostMessage);
    m->setMessageID(id);
    return m;
}

class Protocol : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module = tools::Vst3Module::load(bundlePath(), &error);
        ASSERT_NE(module, nullptr) << error;
        component = createAs<IComponent>(module->factory(), kProcessorId);
        ASSERT_TRUE(component);
        ASSERT_EQ(component->initialize(module->hostContext()), kResultOk);
        processorPoint = FUnknownPtr<IConnectionPoint>(component);
        ASSERT_TRUE(processorPoint);
        ASSERT_EQ(processorPoint->connect(&probe), kResultOk);
    }
    void TearDown() override {
        if (controller) {
            controllerPoint->disconnect(processorPoint);
            controller->terminate();
        }
        if (component) {
            processorPoint->disconnect(&probe);
            component->terminate();
        }
    }

    /// The controller joins: the processor's messages reach it through the probe.
    void addController() {
        controller = createAs<IEditController>(module->factory(), kControllerId);
        ASSERT_TRUE(controller);
        ASSERT_EQ(controller->initialize(module->hostContext()), kResultOk);
        controllerPoint = FUnknownPtr<IConnectionPoint>(controller);
        ASSERT_EQ(controllerPoint->connect(processorPoint), kResultOk);
        probe.forward = controllerPoint;
        controller->setComponentHandler(nullptr);
    }

    /// Sends a value change; the echo it got, or NaN when none came.
    double change(int64 tag, double val) {
        const size_t before = probe.sent.size();
        IPtr<IMessage> m = message("GUIEditor:cvValueChange");
        m->getAttributes()->setInt("tag", tag);
        m->getAttributes()->setFloat("val", val);
        EXPECT_EQ(processorPoint->notify(m), kResultOk);
        if (probe.sent.size() == before) return std::nan("");
        EXPECT_EQ(probe.sent.size(), before + 1);
        const Sent& s = probe.sent.back();
        EXPECT_EQ(s.id, "GUIEditor:cvValueUpdate");
        EXPECT_TRUE(s.hasTag);
        EXPECT_EQ(s.tag, tag);
        return s.val;
    }

    /// Sends a file request; the ids of what the processor sent in answer.
    std::vector<std::string> request(int64 code, const std::string& path, bool terminate = true) {
        const size_t before = probe.sent.size();
        IPtr<IMessage> m = message("GUIEditor:cvFileSelect");
        m->getAttributes()->setInt("tag", code);
        std::vector<char> bytes(path.begin(), path.end());
        if (terminate) bytes.push_back('\0');
        m->getAttributes()->setBinary("path", bytes.data(), static_cast<uint32>(bytes.size()));
        EXPECT_EQ(processorPoint->notify(m), kResultOk);
        std::vector<std::string> ids;
        for (size_t i = before; i < probe.sent.size(); ++i) ids.push_back(probe.sent[i].id);
        return ids;
    }

    std::vector<uint8_t> stateBytes() { return saveState(component); }
    state::StateChunk chunk() { return parseState(stateBytes()); }

    std::unique_ptr<tools::Vst3Module> module;
    IPtr<IComponent> component;
    IPtr<IConnectionPoint> processorPoint;
    IPtr<IEditController> controller;
    IPtr<IConnectionPoint> controllerPoint;
    Probe probe;
    TempFolder folder;
};

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST_F(Protocol, CodesOutsideEachGroupChangeNothingAndAnswerNothing) {
    const std::vector<uint8_t> fresh = stateBytes();
    probe.sent.clear();  // getState's own message
    const std::vector<int64> ignored = {
        0x0000, 0x0091, 0x00FF, 0x0003, 0x0100, 0x0191, 0x010A, 0x1000, 0x1082, 0x1002, 0x1011, 0x2000,
        0x2082, 0x200C, 0x3000, 0x3082, 0x3002, 0x3006, 0x0200, 0x0201, 0x4001, 0x8001, 0xFF01,
    };
    for (int64 tag : ignored) {
        SCOPED_TRACE(tag);
        EXPECT_TRUE(std::isnan(change(tag, 1.0)));
    }
    // Unknown ids and attributes that do not fit are ignored too.
    IPtr<IMessage> noTag = message("GUIEditor:cvValueChange");
    noTag->getAttributes()->setFloat("val", 1.0);
    EXPECT_EQ(processorPoint->notify(noTag), kResultOk);
    EXPECT_EQ(processorPoint->notify(nullptr), kInvalidArgument);
    EXPECT_TRUE(probe.sent.empty());
    EXPECT_EQ(stateBytes(), fresh);
    probe.sent.clear();

    // Bits above the low 16 are not looked at: 0x7FFF0102 is the part-mode change.
    EXPECT_EQ(change(0x7FFF0102, 1.0), 1.0);
    EXPECT_EQ(chunk().parts[0].mode, 3);
}

TEST_F(Protocol, EchoesCarryTheStoredValue) {
    // System: volume, tune, polyphony, the two switches.
    EXPECT_FLOAT_EQ(change(0x0001, 0.25), 0.25);
    EXPECT_FLOAT_EQ(change(0x0002, 0.5), 0.5);
    EXPECT_FLOAT_EQ(change(0x0090, 0.5), 0.5);
    EXPECT_EQ(change(0x0083, 0.0), 1.0);  // "Recieve sysEx" toggles: on
    EXPECT_EQ(change(0x0084, 0.0), 1.0);  // "NRPN Controlle": on
    EXPECT_EQ(change(0x0084, 0.0), 0.0);  // and off again
    state::StateChunk c = chunk();
    EXPECT_FLOAT_EQ(c.masterVolume, 0.25f);
    EXPECT_FLOAT_EQ(c.masterTune, 440.0f);
    EXPECT_EQ(c.voiceCount, 64);
    EXPECT_TRUE(c.acceptSysEx);
    EXPECT_FALSE(c.nrpnEnabled);

    // Part 3 selected, then its fields; values round half up.
    EXPECT_FLOAT_EQ(change(0x0101, 3.0 / 15.0), 3.0f / 15.0f);
    EXPECT_FLOAT_EQ(change(0x0102, 1.0), 1.0);             // Sampler
    EXPECT_FLOAT_EQ(change(0x0103, 0.5), 64.0f / 127.0f);  // program 64 (63.5 + 0.5)
    EXPECT_FLOAT_EQ(change(0x0104, 0.1), 13.0f / 127.0f);
    EXPECT_FLOAT_EQ(change(0x0105, 0.75), 12287.0f / 16383.0f);
    EXPECT_FLOAT_EQ(change(0x0107, 0.3), 38.0f / 127.0f);
    EXPECT_FLOAT_EQ(change(0x0108, 0.0), 0.0f);
    EXPECT_FLOAT_EQ(change(0x0190, 0.4), 0.4f);  // output 6
    // Out of range and NaN are held to 0..1.
    EXPECT_FLOAT_EQ(change(0x0109, 7.0), 1.0f);
    EXPECT_FLOAT_EQ(change(0x0106, std::nan("")), 0.0f);
    c = chunk();
    EXPECT_EQ(c.parts[3].mode, 3);
    EXPECT_EQ(c.parts[3].program, 64);
    EXPECT_EQ(c.parts[3].pitchBendRange, 13);
    EXPECT_EQ(c.parts[3].pitchBend, 12287);
    EXPECT_EQ(c.parts[3].volume, 38);
    EXPECT_EQ(c.parts[3].pan, 0);
    EXPECT_EQ(c.parts[3].expression, 127);
    EXPECT_EQ(c.parts[3].modulation, 0);
    EXPECT_EQ(c.parts[3].outputBus, 6);
    EXPECT_EQ(c.parts[0].outputBus, 0);

    // Tone 9's fields, masked by their ranges.
    EXPECT_FLOAT_EQ(change(0x1001, 9.0 / 127.0), 9.0f / 127.0f);
    EXPECT_FLOAT_EQ(change(0x1003, 0.5), 0.5f);  // strc 1
    EXPECT_FLOAT_EQ(change(0x1007, 1.0), 1.0f);  // lms 15
    EXPECT_FLOAT_EQ(change(0x1009, 20.0 / 127.0), 20.0f / 127.0f);
    EXPECT_FLOAT_EQ(change(0x100F, 0.5), 2.0f / 3.0f);  // kf 2 (1.5 + 0.5)
    c = chunk();
    EXPECT_EQ(c.tones[9].strc, 1);
    EXPECT_EQ(c.tones[9].lms, 15);
    EXPECT_EQ(c.tones[9].wave, 20);
    EXPECT_EQ(c.tones[9].kf, 2);
    EXPECT_EQ(c.tones[8].strc, 0);
    EXPECT_EQ(change(0x1081, 0.0), 0.0);  // "Reset Preset"
    EXPECT_EQ(chunk().tones[9].wave, 0);

    // Sampler 100.
    EXPECT_FLOAT_EQ(change(0x2001, 100.0 / 127.0), 100.0f / 127.0f);
    EXPECT_FLOAT_EQ(change(0x2005, 0.2), 3.0f / 15.0f);
    EXPECT_FLOAT_EQ(change(0x2006, 1.0), 1.0f);
    c = chunk();
    EXPECT_EQ(c.samplers[100].octv, 3);
    EXPECT_EQ(c.samplers[100].tune, 16383);

    // "System Reset" restores every part: part 3 back to Instrument, program 0.
    EXPECT_EQ(change(0x0081, 0.0), 0.0);
    c = chunk();
    EXPECT_EQ(c.parts[3].program, 0);
    EXPECT_EQ(c.parts[3].volume, 100);
}

TEST_F(Protocol, SampleSlotPointsAndFileRequests) {
    const std::string wav = writeRampWav(folder.file("ramp.wav"), 5000);
    // Into slot 5 while slot 0 is selected: no refresh asked for.
    EXPECT_EQ(request(0x2105, wav), std::vector<std::string>{});
    state::StateChunk c = chunk();
    ASSERT_TRUE(c.slots[5].present);
    EXPECT_EQ(c.slots[5].path, wav);
    EXPECT_EQ(c.slots[5].end, 5000u);
    // Slot 5 selected: the DPCM re-import asks for one.
    EXPECT_FLOAT_EQ(change(0x3001, 5.0 / 127.0), 5.0f / 127.0f);
    EXPECT_EQ(request(0x2285, wav), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(chunk().slots[5].encoding, 1);

    EXPECT_EQ(change(0x3008, 6000.0), 5000.0);  // beyond the samples: end kept
    EXPECT_EQ(change(0x3009, 100.0), 0.0);      // no loop yet: nothing to move, 0
    EXPECT_EQ(change(0x3008, 4000.0), 4000.0);
    EXPECT_EQ(change(0x3007, 4000.0), 0.0);  // a start at the end is refused
    EXPECT_EQ(change(0x3007, 10.5), 10.0);   // truncated
    EXPECT_EQ(change(0x300A, 3000.0), 0.0);  // no loop start: loop 0..3000 would start before 10
    EXPECT_EQ(change(0x3004, 22050.0), 22050.0);
    EXPECT_FLOAT_EQ(change(0x3005, 261.63), 261.63f);
    c = chunk();
    EXPECT_EQ(c.slots[5].start, 10u);
    EXPECT_EQ(c.slots[5].end, 4000u);
    EXPECT_EQ(c.slots[5].loopEnd, 0u);
    EXPECT_FLOAT_EQ(c.slots[5].sampleRate, 22050.0f);
    EXPECT_FLOAT_EQ(c.slots[5].Pitch, 261.63f);

    // A loop through the sample-data text, then moved by the editor.
    writeBytes(folder.file("points.txt"),
               {'@', ':', '5', ' ', '1', '0', ' ', '4', '0', '0', '0', ' ', '2', '0',
                '0', ' ', '4', '0', '0', '0', ' ', '4', '4', '0', '.', '0', '\n'});
    EXPECT_EQ(request(0x1500, folder.file("points.txt")), std::vector<std::string>{"Processor:uiUpdate"});
    c = chunk();
    EXPECT_EQ(c.slots[5].loopStart, 200u);
    EXPECT_EQ(c.slots[5].loopEnd, 4000u);
    EXPECT_EQ(change(0x3009, 300.0), 300.0);
    EXPECT_EQ(change(0x300A, 3500.0), 3500.0);
    EXPECT_EQ(change(0x300A, 4500.0), 0.0);  // past the end: the loop goes
    // "Clear SampleData": the path stays recorded, the samples go.
    EXPECT_EQ(change(0x3081, 0.0), 0.0);
    EXPECT_FALSE(chunk().slots[5].present);

    // Requests that do nothing: unknown operation, missing file, empty path.
    EXPECT_EQ(request(0x7700, wav), std::vector<std::string>{});
    EXPECT_EQ(request(0x2106, folder.file("absent.wav")), std::vector<std::string>{});
    EXPECT_EQ(request(0x2106, ""), std::vector<std::string>{});
    EXPECT_FALSE(chunk().slots[6].present);
    // A path without its terminating zero is still read within its bytes.
    EXPECT_EQ(request(0x2107, wav, false), std::vector<std::string>{});
    EXPECT_TRUE(chunk().slots[7].present);
}

TEST_F(Protocol, APitchIsNeverNegativeSoItSurvivesTheTextFiles) {
    const std::string wav = writeRampWav(folder.file("ramp.wav"), 5000);
    EXPECT_EQ(request(0x2100, wav), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(change(0x3005, -261.63), 0.0);
    EXPECT_EQ(chunk().slots[0].Pitch, 0.0f);
    EXPECT_FALSE(std::signbit(chunk().slots[0].Pitch));
    EXPECT_EQ(change(0x3005, std::nan("")), 0.0);

    // Exported as 0.000000 (not -261.630005, which the import skips) and read back.
    EXPECT_FLOAT_EQ(change(0x3005, 261.63), 261.63f);
    EXPECT_EQ(change(0x3005, -0.0), 0.0);
    EXPECT_EQ(request(0x9500, folder.file("samples.txt")), std::vector<std::string>{});
    EXPECT_EQ(lines(folder.file("samples.txt"))[2], "@:0 0 5000 0 0 0.000000");
    EXPECT_FLOAT_EQ(change(0x3005, 440.0), 440.0f);
    EXPECT_EQ(request(0x1500, folder.file("samples.txt")), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(chunk().slots[0].Pitch, 0.0f);

    // A saved negative pitch is restored as 0.
    state::StateChunk c = chunk();
    c.slots[0].Pitch = -261.63f;
    const std::vector<uint8_t> bytes = state::stateChunkBytes(c);
    IPtr<MemoryStream> stream = owned(new MemoryStream);
    int32 written = 0;
    stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(component->setState(stream), kResultOk);
    c = chunk();
    EXPECT_EQ(c.slots[0].Pitch, 0.0f);
    EXPECT_EQ(c.slots[0].end, 5000u);
}

TEST_F(Protocol, ExportsWriteTheFilesAndTheImportsReadThemBack) {
    change(0x1001, 4.0 / 127.0);
    change(0x100A, 0.5);  // tone 4 tl 64
    change(0x2001, 2.0 / 127.0);
    change(0x2004, 0.0);  // sampler 2 pan 0
    const struct {
        int64 code;
        const char* name;
        size_t headers;
    } exports[] = {{0x9100, "tones.txt", 1},
                   {0x9200, "samplers.txt", 1},
                   {0x9300, "tones-sysex.txt", 4},
                   {0x9400, "samplers-sysex.txt", 0},
                   {0x9500, "samples.txt", 2}};
    for (const auto& e : exports) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(request(e.code, folder.file(e.name)), std::vector<std::string>{});
        const std::vector<std::string> text = lines(folder.file(e.name));
        size_t records = 0;
        for (const std::string& line : text)
            if (!line.empty() && line[0] != '#') ++records;
        EXPECT_EQ(records, 128u);
        if (e.headers > 0) {
            EXPECT_EQ(text.size(), 128u + e.headers);
        }
    }
    EXPECT_EQ(lines(folder.file("tones.txt"))[5].substr(0, 5), "@I:4 ");
    // Export into a folder that does not exist: nothing written, nothing changed.
    const std::vector<uint8_t> before = stateBytes();
    EXPECT_EQ(request(0x9100, folder.file("no/such/tones.txt")), std::vector<std::string>{});
    EXPECT_EQ(stateBytes(), before);

    // Reset both presets, import the files back: the values return.
    change(0x1081, 0.0);
    change(0x2081, 0.0);
    EXPECT_EQ(chunk().tones[4].tl, 0);
    EXPECT_EQ(request(0x1100, folder.file("tones.txt")), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(request(0x1200, folder.file("samplers.txt")), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(stateBytes(), before);
}

TEST_F(Protocol, SysExListingSentAsMessagesWritesThePresetsBack) {
    // Distinct values in every preset, then the listings.
    for (int32 n = 0; n < 128; n += 9) {
        change(0x1001, n / 127.0);
        change(0x1006, (n * 97 % 16384) / 16383.0);
        change(0x1008, (n * 131 % 16384) / 16383.0);
        change(0x100E, (n % 128) / 127.0);
        change(0x2001, n / 127.0);
        change(0x2006, (n * 61 % 16384) / 16383.0);
        change(0x2003, (127 - n) / 127.0);
    }
    EXPECT_TRUE(request(0x9300, folder.file("t.syx.txt")).empty());
    EXPECT_TRUE(request(0x9400, folder.file("s.syx.txt")).empty());
    const state::StateChunk expected = chunk();
    for (int32 n = 0; n < 128; n += 9) {
        change(0x1001, n / 127.0);
        change(0x1081, 0.0);
        change(0x2001, n / 127.0);
        change(0x2081, 0.0);
    }
    change(0x0083, 0.0);  // reception on

    tools::Vst3Processing processing(component, FUnknownPtr<IAudioProcessor>(component));
    ASSERT_EQ(processing.prepare(44100.0, 256), kResultOk);
    tools::HostEventList events(512);
    std::vector<std::vector<uint8_t>> messages;
    for (const char* file : {"t.syx.txt", "s.syx.txt"}) {
        for (const std::string& line : lines(folder.file(file))) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream in(line);
            std::vector<uint8_t> bytes;
            for (std::string hex; in >> hex;)
                bytes.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
            messages.push_back(bytes);
        }
    }
    ASSERT_EQ(messages.size(), 256u);
    for (size_t i = 0; i < messages.size(); i += 16) {
        events.clear();
        for (size_t j = i; j < i + 16; ++j)
            events.sysEx(static_cast<int32>(j - i), messages[j].data(),
                         static_cast<uint32>(messages[j].size()));
        ASSERT_EQ(processing.processBlock(256, &events, nullptr), kResultOk);
    }
    processing.stop();
    const state::StateChunk back = chunk();
    for (int32 n = 0; n < 128; ++n) {
        SCOPED_TRACE(n);
        const TonePreset& a = expected.tones[n];
        const TonePreset& b = back.tones[n];
        EXPECT_EQ(std::make_tuple(a.lfoFreq, a.strc, a.tune, a.lms, a.wave, a.tl, a.ar, a.dr, a.sl, a.rr,
                                  a.kf, a.kfStart),
                  std::make_tuple(b.lfoFreq, b.strc, b.tune, b.lms, b.wave, b.tl, b.ar, b.dr, b.sl, b.rr,
                                  b.kf, b.kfStart));
        const SamplerPreset& s = expected.samplers[n];
        const SamplerPreset& t = back.samplers[n];
        EXPECT_EQ(std::make_tuple(s.smplNum, s.pan, s.octv, s.tune, s.tl, s.ar, s.dr, s.sl, s.rr),
                  std::make_tuple(t.smplNum, t.pan, t.octv, t.tune, t.tl, t.ar, t.dr, t.sl, t.rr));
    }
}

TEST_F(Protocol, EditsWhileProcessingAreEchoedAtOnceAndStoredByTheNextBlock) {
    tools::Vst3Processing processing(component, FUnknownPtr<IAudioProcessor>(component));
    ASSERT_EQ(processing.prepare(44100.0, 128), kResultOk);
    ASSERT_EQ(processing.processBlock(128, nullptr, nullptr), kResultOk);
    const std::string wav = writeRampWav(folder.file("ramp.wav"), 3000);
    EXPECT_EQ(request(0x2100, wav), std::vector<std::string>{"Processor:uiUpdate"});
    // The echoes follow the rules against the slot as the edits leave it, before any block.
    EXPECT_EQ(change(0x3008, 2000.0), 2000.0);
    EXPECT_EQ(change(0x3007, 2500.0), 0.0);
    EXPECT_EQ(change(0x3007, 500.0), 500.0);
    EXPECT_EQ(change(0x0083, 0.0), 1.0);
    EXPECT_EQ(change(0x0083, 0.0), 0.0);
    EXPECT_EQ(change(0x0083, 0.0), 1.0);
    for (int32 i = 0; i < 50; ++i) change(0x0107, (i % 128) / 127.0);
    ASSERT_EQ(processing.processBlock(128, nullptr, nullptr), kResultOk);
    const state::StateChunk c = chunk();
    EXPECT_EQ(c.slots[0].start, 500u);
    EXPECT_EQ(c.slots[0].end, 2000u);
    EXPECT_TRUE(c.acceptSysEx);
    EXPECT_EQ(c.parts[0].volume, 49);
    processing.stop();
}

TEST_F(Protocol, HandshakeAndProgramListsThroughTheController) {
    addController();
    FUnknownPtr<IUnitInfo> units(controller);
    ASSERT_TRUE(units);
    // The host's handler also answers IUnitHandler: the SDK asks the component handler.
    UnitHandlerProbe host;
    ASSERT_EQ(controller->setComponentHandler(&host), kResultOk);

    String128 name{};
    ASSERT_EQ(units->getProgramName(0x100000, 12, name), kResultTrue);
    char ascii[128] = {};
    UString(name, 128).toAscii(ascii, sizeof ascii);
    EXPECT_STREQ(ascii, "012");

    // The editor's opening message: the processor answers with its engine's 8-byte address.
    IPtr<IMessage> open = message("GUIEditor:openGUI");
    EXPECT_EQ(processorPoint->notify(open), kResultOk);
    ASSERT_FALSE(probe.sent.empty());
    EXPECT_EQ(probe.sent.back().id, "Processor:openGUI");
    EXPECT_EQ(probe.sent.back().cvsetSize, 8u);
    EXPECT_TRUE(host.changed.empty());

    // New names through a text import: every channel's list is reported changed.
    const std::string text = "@I:12 \"Bright Piano    \" 2048 0 8192 0 0 0 126 100 0 120 0 48\n";
    writeBytes(folder.file("names.txt"), std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(request(0x1100, folder.file("names.txt")), std::vector<std::string>{"Processor:uiUpdate"});
    EXPECT_EQ(host.changed.size(), 16u);
    ASSERT_EQ(units->getProgramName(0x10000F, 12, name), kResultTrue);
    UString(name, 128).toAscii(ascii, sizeof ascii);
    EXPECT_STREQ(ascii, "012 Bright Piano");

    // A restore of a fresh state clears it again and says so.
    host.changed.clear();
    IPtr<IComponent> other = createAs<IComponent>(module->factory(), kProcessorId);
    ASSERT_EQ(other->initialize(module->hostContext()), kResultOk);
    IPtr<MemoryStream> fresh = owned(new MemoryStream);
    ASSERT_EQ(other->getState(fresh), kResultOk);
    other->terminate();
    fresh->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(component->setState(fresh), kResultOk);
    EXPECT_EQ(probe.sent.back().id, "Processor:setState");
    EXPECT_EQ(host.changed.size(), 16u);
    ASSERT_EQ(units->getProgramName(0x100000, 12, name), kResultTrue);
    UString(name, 128).toAscii(ascii, sizeof ascii);
    EXPECT_STREQ(ascii, "012");

    // A song's SysEx renames tone 12 on the audio thread; the lists follow by the next save.
    host.changed.clear();
    EXPECT_EQ(change(0x0083, 0.0), 1.0);
    {
        tools::Vst3Processing processing(component, FUnknownPtr<IAudioProcessor>(component));
        ASSERT_EQ(processing.prepare(44100.0, 64), kResultOk);
        tools::HostEventList events(4);
        const uint8_t rename[] = {0xF0, 0x7D, 0x10, 0x23, 0x04, 0x0C, 0x00, 'Z', 0xF7};
        events.sysEx(0, rename, sizeof rename);
        ASSERT_EQ(processing.processBlock(64, &events, nullptr), kResultOk);
        stateBytes();
        EXPECT_EQ(host.changed.size(), 16u);
        ASSERT_EQ(units->getProgramName(0x100005, 12, name), kResultTrue);
        UString(name, 128).toAscii(ascii, sizeof ascii);
        EXPECT_STREQ(ascii, "012 Z");
        processing.stop();
    }

    // The controller's own side: nothing open, so echoes and refreshes go nowhere, safely.
    FUnknownPtr<IConnectionPoint> point(controller);
    EXPECT_EQ(point->notify(nullptr), kInvalidArgument);
    IPtr<IMessage> bad = message("Processor:openGUI");
    bad->getAttributes()->setBinary("cvset", "abc", 3);
    EXPECT_EQ(point->notify(bad), kResultOk);
    EXPECT_EQ(change(0x0101, 1.0), 1.0);
    controller->setComponentHandler(nullptr);
}

}  // namespace
}  // namespace velt::corvane::test
