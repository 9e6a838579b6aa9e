#include "tools/corvane-make-demo/demo_readme.h"

#include <cstdio>

#include "tools/corvane-make-demo/demo_layout.h"
#include "tools/corvane-make-demo/demo_setup.h"

namespace velt::corvane::tools {

namespace {

const char* const kIntro =
    "Corvane Synth PCM - demo set\n"
    "============================\n"
    "\n"
    "Everything in this directory is synthesized by tools/corvane-make-demo\n"
    "(\"corvane-make-demo resources/demo\" rewrites it, byte for byte the same).\n"
    "\n"
    "Files\n"
    "-----\n"
    "demo-song.mid     Standard MIDI File, format 1, 480 ticks per quarter, about 38 s:\n"
    "                  a tempo track (100 BPM, 108 BPM from bar 9, 92 BPM in the last\n"
    "                  bar) and one track per part. Bars: Am F C G | Am F G E |\n"
    "                  F G Em Am | Dm G F-G C.\n"
    "demo-samples.txt  the \"@:\" sample-data lines (slot, start, end, loop start, loop\n"
    "                  end, pitch in Hz) for every slot below.\n"
    "*.wav             16-bit PCM mono samples, listed below.\n"
    "\n"
    "Samples and slots\n"
    "-----------------\n"
    "The instrument loops hold a whole number of cycles of every partial, so they\n"
    "join without a click; the pitch is the exact fundamental. The drums are\n"
    "one-shots (no loop, pitch 0) played by the Sampler part at recorded speed.\n"
    "\n"
    "slot  file            rate   frames  loop           pitch Hz    import  sound\n";

const char* const kParts =
    "\n"
    "Parts\n"
    "-----\n"
    "The first beat of the song (before bar 1) sets everything up: SysEx tone-preset\n"
    "writes for the four programs, program changes, volume, pan, expression,\n"
    "modulation and the bend range (RPN 0) of each part, the Sampler mode and\n"
    "default mode of part 10, and a sampler preset for each drum key.\n"
    "\n"
    "channel  part     program  slot  tone\n";

const char* const kRender =
    "\n"
    "Rendering\n"
    "---------\n"
    "A new engine ignores SysEx, so the render needs --sysex; the WAV imports must\n"
    "come before the sample-data lines (an import resets a slot's points).\n"
    "From the repository root:\n"
    "\n"
    "  scripts/render-demo.sh [RENDERER] [OUT.wav]\n"
    "\n"
    "RENDERER defaults to build/tools/corvane-render/corvane-render and OUT.wav to\n"
    "demo.wav in the current directory. The script runs:\n"
    "\n"
    "  build/tools/corvane-render/corvane-render --sysex \\\n";

const char* toneKind(const ToneSettings& t) {
    if (t.strc == 1) return "pitch LFO: modulation wheel gives vibrato";
    if (t.strc == 2) return "amplitude LFO: tremolo from the modulation wheel";
    return "no LFO";
}

}  // namespace

std::string demoReadme(const std::vector<DemoSample>& samples) {
    std::string text = kIntro;
    char line[256];
    for (const DemoSample& s : samples) {
        char loop[32];
        if (s.loopEnd > s.loopStart)
            std::snprintf(loop, sizeof loop, "%d-%d", static_cast<int>(s.loopStart),
                          static_cast<int>(s.loopEnd));
        else
            std::snprintf(loop, sizeof loop, "none");
        std::snprintf(line, sizeof line, "%-5d %-15s %-6u %-7d %-14s %-11.6f %-7s %s\n",
                      static_cast<int>(s.slot), s.fileName, static_cast<unsigned>(s.sampleRate),
                      static_cast<int>(s.frames.size()), loop, s.pitch, s.encoding, s.title);
        text += line;
    }
    text += kParts;
    const MelodicRole roles[] = {MelodicRole::EPiano, MelodicRole::Bass, MelodicRole::Pad, MelodicRole::Lead};
    for (MelodicRole role : roles) {
        const MelodicPart p = melodicPart(role);
        std::snprintf(line, sizeof line, "%-8d %-8s %-8d %-5d %s; bend range %d\n",
                      static_cast<int>(p.channel + 1), p.trackName, static_cast<int>(p.program),
                      static_cast<int>(p.tone.wave), toneKind(p.tone), static_cast<int>(p.bendRange));
        text += line;
    }
    std::snprintf(line, sizeof line,
                  "%-8d Drums    -        -     Sampler mode; keys %d kick, %d snare, %d clap,\n"
                  "                                %d closed hat, %d low tom, %d open hat, %d high tom\n",
                  static_cast<int>(kDrumChannel + 1), static_cast<int>(kKickKey), static_cast<int>(kSnareKey),
                  static_cast<int>(kClapKey), static_cast<int>(kHatClosedKey), static_cast<int>(kLowTomKey),
                  static_cast<int>(kHatOpenKey), static_cast<int>(kHighTomKey));
    text += line;
    text += "The lead also bends (scoops into notes, a whole-tone bend up in bar 10).\n";
    text += kRender;
    for (const DemoSample& s : samples) {
        const std::string suffix = std::string(s.encoding) == "pcm" ? "" : std::string(":") + s.encoding;
        std::snprintf(line, sizeof line, "    --wav %d=resources/demo/%s%s \\\n", static_cast<int>(s.slot),
                      s.fileName, suffix.c_str());
        text += line;
    }
    text += "    --samples resources/demo/demo-samples.txt \\\n";
    text += "    resources/demo/demo-song.mid demo.wav\n";
    return text;
}

}  // namespace velt::corvane::tools
