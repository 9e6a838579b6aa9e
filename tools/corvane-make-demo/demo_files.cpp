#include "tools/corvane-make-demo/demo_files.h"

#include <cstdio>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/demo_readme.h"
#include "tools/corvane-make-demo/demo_song.h"
#include "tools/corvane-make-demo/drum_sounds.h"
#include "tools/corvane-make-demo/instrument_tones.h"
#include "tools/corvane-make-demo/wav16_writer.h"

namespace velt::corvane::tools {

std::vector<DemoSample> buildDemoSamples() {
    std::vector<DemoSample> samples;
    samples.push_back(makeElectricPiano());
    samples.push_back(makeBass());
    samples.push_back(makePad());
    samples.push_back(makeLead());
    samples.push_back(makeKick());
    samples.push_back(makeSnare());
    samples.push_back(makeClosedHat());
    samples.push_back(makeOpenHat());
    samples.push_back(makeClap());
    samples.push_back(makeTom());
    // The kick's slow sweep survives the DPCM slew; it shows that codec in the render.
    samples[4].encoding = "dpcm";
    return samples;
}

std::string sampleDataText(const std::vector<DemoSample>& samples) {
    std::string text =
        "# Corvane demo set: sample-data parameters (slot, start, end, loop start, loop end, pitch in Hz)\n";
    for (const DemoSample& s : samples) {
        char line[128];
        std::snprintf(line, sizeof line, "@:%d 0 %d %d %d %.6f\n", static_cast<int>(s.slot),
                      static_cast<int>(s.frames.size()), static_cast<int>(s.loopStart),
                      static_cast<int>(s.loopEnd), s.pitch);
        text += line;
    }
    return text;
}

bool writeDemoSet(const std::string& directory, std::string& failedPath) {
    const std::string base = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    const std::vector<DemoSample> samples = buildDemoSamples();
    for (const DemoSample& s : samples) {
        const std::string path = base + s.fileName;
        if (!writeFileBytes(path, encodeWav16Mono(s.frames, s.sampleRate))) {
            failedPath = path;
            return false;
        }
    }
    const std::string text = sampleDataText(samples);
    const std::string readme = demoReadme(samples);
    struct Output {
        std::string path;
        std::vector<uint8_t> bytes;
    };
    const Output outputs[] = {
        {base + "demo-samples.txt", {text.begin(), text.end()}},
        {base + "demo-song.mid", encodeSmf(buildDemoSong(), kTicksPerQuarter)},
        {base + "README.txt", {readme.begin(), readme.end()}},
    };
    for (const Output& o : outputs) {
        if (!writeFileBytes(o.path, o.bytes)) {
            failedPath = o.path;
            return false;
        }
    }
    return true;
}

}  // namespace velt::corvane::tools
