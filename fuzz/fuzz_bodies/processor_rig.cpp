#include "fuzz/fuzz_bodies/processor_rig.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <system_error>

#include "fuzz/fuzz_bodies/small_wav.h"
#include "presetfiles/preset_text_export.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "tools/vst3host/host_object.h"

namespace velt::corvane::fuzz {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Stands where the controller would be connected; the processor's messages end here.
class DropPeer final : public IConnectionPoint {
public:
    CORVANE_HOST_OBJECT(IConnectionPoint)
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage*) override { return kResultOk; }
};

DropPeer& dropPeer() {
    static DropPeer peer;
    return peer;
}

bool writeFile(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFile(path, bytes.data(), bytes.size());
}

std::string makeTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/corvane-fuzz-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return std::string();
    return std::string(buffer.data());
}

}  // namespace

ProcessorRig* ProcessorRig::shared() {
    static std::unique_ptr<ProcessorRig> rig = [] {
        std::unique_ptr<ProcessorRig> r(new (std::nothrow) ProcessorRig);
        if (r && !r->build()) r.reset();
        return r;
    }();
    return rig.get();
}

bool ProcessorRig::build() {
    baseFolder_ = makeTempFolder();
    if (baseFolder_.empty()) return false;
    sampleFolder_ = baseFolder_ + "/samples";
    fileFolder_ = baseFolder_ + "/files";
    std::error_code ec;
    std::filesystem::create_directories(sampleFolder_, ec);
    std::filesystem::create_directories(fileFolder_, ec);
    // Restores look for missing files here, and find none.
    setenv("CORVANE_SAMPLE_PATH", sampleFolder_.c_str(), 1);

    host_.reset(new (std::nothrow) HostApplication);
    if (!host_) return false;
    audio_ = owned(static_cast<IAudioProcessor*>(CorvaneVSTProcessor::createInstance(nullptr)));
    if (!audio_) return false;
    processor_ = static_cast<CorvaneVSTProcessor*>(audio_.get());
    if (processor_->initialize(host_.get()) != kResultOk) return false;
    processor_->connect(&dropPeer());
    makeFixtures();
    buffers_.assign(static_cast<size_t>(kMaxFrames) * 2 * kOutputBusCount, 0.0f);

    MemoryStream saved;
    if (processor_->getState(&saved) != kResultOk) return false;
    const auto* begin = reinterpret_cast<const uint8_t*>(saved.getData());
    freshState_.assign(begin, begin + saved.getSize());
    return true;
}

ProcessorRig::~ProcessorRig() {
    if (processor_) {
        if (active_) processor_->setActive(false);
        processor_->disconnect(&dropPeer());
        processor_->terminate();
    }
    audio_ = nullptr;
    host_.reset();
    if (!baseFolder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(baseFolder_, ec);
    }
}

void ProcessorRig::restoreFreshState() {
    setActive(false);
    MemoryStream stream(freshState_.data(), static_cast<TSize>(freshState_.size()));
    processor_->setState(&stream);
}

void ProcessorRig::resetFiles() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(fileFolder_, ec))
        std::filesystem::remove_all(entry.path(), ec);
    for (const Fixture& f : fixtures_) writeFile(fileFolder_ + "/" + f.name, f.bytes);
}

void ProcessorRig::makeFixtures() {
    fixtures_.push_back({"a.wav", smallWav(1, 16, 300)});
    fixtures_.push_back({"b.wav", smallWav(2, 24, 150)});
    std::unique_ptr<TonePreset[]> tones(new (std::nothrow) TonePreset[kPresetCount]);
    std::unique_ptr<SamplerPreset[]> samplers(new (std::nothrow) SamplerPreset[kPresetCount]);
    if (!tones || !samplers) return;
    for (int32_t i = 0; i < kPresetCount; ++i) {
        resetTonePreset(tones[i]);
        resetSamplerPreset(samplers[i]);
        tones[i].wave = i % 3;
        samplers[i].smplNum = i % 3;
    }
    const auto bytesOf = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
    fixtures_.push_back({"t0.txt", bytesOf(presetfiles::formatTonePresets(tones.get()))});
    fixtures_.push_back({"t1.txt", bytesOf(presetfiles::formatSamplerPresets(samplers.get()))});
    fixtures_.push_back(
        {"t2.txt", bytesOf("@:0, 10, 250, 20, 200, 261.625000\n@:1, 0, 100, 0, 0, 440.000000\n")});
}

void ProcessorRig::setActive(bool active) {
    if (active == active_) return;
    if (active) {
        ProcessSetup setup{kRealtime, kSample32, kMaxFrames, 44100.0};
        processor_->setupProcessing(setup);
    }
    processor_->setActive(active);
    active_ = active;
}

void ProcessorRig::processBlock(int32_t frames) {
    if (!active_) return;
    if (frames < 1) frames = 1;
    if (frames > kMaxFrames) frames = kMaxFrames;
    float* channels[2 * kOutputBusCount];
    AudioBusBuffers outputs[kOutputBusCount];
    for (int32_t i = 0; i < 2 * kOutputBusCount; ++i)
        channels[i] = buffers_.data() + static_cast<size_t>(i) * kMaxFrames;
    for (int32_t b = 0; b < kOutputBusCount; ++b) {
        outputs[b].numChannels = 2;
        outputs[b].silenceFlags = 0;
        outputs[b].channelBuffers32 = channels + 2 * b;
    }
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numOutputs = kOutputBusCount;
    data.outputs = outputs;
    processor_->process(data);
}

}  // namespace velt::corvane::fuzz
