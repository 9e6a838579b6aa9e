// The protocol between the editor, the controller and the processor: message ids, attribute
// keys, tags, the fields with their ranges, the commands and the file requests. Every end
// reads them from here, so that no number is spelled twice.
#pragma once

#include <cstdint>

#include "synth/pcm/engine_edit.h"

namespace velt::corvane::host::protocol {

// Message ids.
constexpr const char kOpenGuiRequest[] = "GUIEditor:openGUI";
constexpr const char kValueChange[] = "GUIEditor:cvValueChange";
constexpr const char kValueUpdate[] = "GUIEditor:cvValueUpdate";
constexpr const char kFileSelect[] = "GUIEditor:cvFileSelect";
/// A name field's 16 characters for the selected preset ("tag", "name": 16 bytes).
constexpr const char kNameChange[] = "GUIEditor:cvNameChange";
constexpr const char kOpenGuiAnswer[] = "Processor:openGUI";
constexpr const char kUiUpdate[] = "Processor:uiUpdate";
constexpr const char kSetState[] = "Processor:setState";
constexpr const char kGetState[] = "Processor:getState";

// Attribute keys.
constexpr const char kTagKey[] = "tag";
constexpr const char kValueKey[] = "val";
constexpr const char kPathKey[] = "path";
constexpr const char kNameKey[] = "name";
/// The display interface's address, 8 bytes (same process only).
constexpr const char kEngineAddressKey[] = "cvset";

/// The bytes of a name change: always this many, blank-padded.
constexpr int32_t kNameBytes = 16;

// Tags: bit 28 marks a control handled by its value or its own text, bit 29 a number field
// that mirrors a slider; bits 8 to 15 the group, bits 0 to 7 the code. The low 16 bits
// travel in the messages.
constexpr int32_t kValueBit = 0x10000000;
constexpr int32_t kMirrorBit = 0x20000000;

constexpr int32_t messageTag(int32_t group, int32_t code) {
    return (group << 8) | code;
}
constexpr int32_t tagOf(int32_t group, int32_t code) {
    return kValueBit | messageTag(group, code);
}
constexpr int32_t mirrorTagOf(int32_t group, int32_t code) {
    return kMirrorBit | messageTag(group, code);
}
constexpr int32_t groupOf(int64_t tag) {
    return static_cast<int32_t>((static_cast<uint32_t>(tag) >> 8) & 0xFF);
}
constexpr int32_t codeOf(int64_t tag) {
    return static_cast<int32_t>(static_cast<uint32_t>(tag) & 0xFF);
}
constexpr int32_t messageTag(int32_t tag) {
    return tag & 0xFFFF;
}

constexpr int32_t kGroupSystem = 0x00;
constexpr int32_t kGroupPart = 0x01;
constexpr int32_t kGroupTone = 0x10;
constexpr int32_t kGroupSampler = 0x20;
constexpr int32_t kGroupSample = 0x30;

// Codes every group has: its menu button, its menu, whose entries follow it (the entries'
// codes are the commands), and the selection of the part, preset or slot.
constexpr int32_t kMenuButton = 0x00;
constexpr int32_t kMenu = 0x80;
constexpr int32_t kSelect = 0x01;
/// The menus' first entry: resets all parts, the part or the preset; clears the slot.
constexpr int32_t kReset = kMenu + 1;
/// A menu's submenu: its value is what the processor reads.
constexpr int32_t kSubmenu = 0x90;

namespace system {
constexpr int32_t kVolume = 0x01;
constexpr int32_t kTune = 0x02;
constexpr int32_t kSysExSwitch = kMenu + 3;
constexpr int32_t kNrpnSwitch = kMenu + 4;
/// The polyphony submenu: 4 << (value × 8) voices.
constexpr int32_t kPolyphony = kSubmenu;
constexpr int32_t kFewestVoicesLog2 = 2;
constexpr int32_t kPolyphonySteps = 8;
/// The master tune in Hz is lowest + value × span.
constexpr float kTuneLowest = 400.0f;
constexpr float kTuneSpan = 80.0f;
}  // namespace system

namespace part {
constexpr int32_t kMode = 0x02;
constexpr int32_t kProgram = 0x03;
constexpr int32_t kBendRange = 0x04;
constexpr int32_t kPitchBend = 0x05;
constexpr int32_t kModulation = 0x06;
constexpr int32_t kVolume = 0x07;
constexpr int32_t kPan = 0x08;
constexpr int32_t kExpression = 0x09;
constexpr int32_t kResetControllers = kMenu + 2;
constexpr int32_t kAllSoundOff = kMenu + 3;
/// The output submenu: bus value × kOutputRange.
constexpr int32_t kOutput = kSubmenu;
constexpr int32_t kOutputRange = 15;
}  // namespace part

/// The codes the tone and sampler groups share; their menus are alike.
namespace preset {
constexpr int32_t kName = 0x02;
constexpr int32_t kImport = kMenu + 2;
constexpr int32_t kExport = kMenu + 3;
constexpr int32_t kExportSysEx = kMenu + 4;
}  // namespace preset

namespace tone {
constexpr int32_t kStrc = 0x03;
constexpr int32_t kLfoFreq = 0x06;
constexpr int32_t kLms = 0x07;
constexpr int32_t kTune = 0x08;
constexpr int32_t kWave = 0x09;
constexpr int32_t kTl = 0x0A;
constexpr int32_t kAr = 0x0B;
constexpr int32_t kDr = 0x0C;
constexpr int32_t kSl = 0x0D;
constexpr int32_t kRr = 0x0E;
constexpr int32_t kKf = 0x0F;
constexpr int32_t kKfStart = 0x10;
}  // namespace tone

namespace sampler {
constexpr int32_t kSmplNum = 0x03;
constexpr int32_t kPan = 0x04;
constexpr int32_t kOctv = 0x05;
constexpr int32_t kTune = 0x06;
constexpr int32_t kTl = 0x07;
constexpr int32_t kAr = 0x08;
constexpr int32_t kDr = 0x09;
constexpr int32_t kSl = 0x0A;
constexpr int32_t kRr = 0x0B;
}  // namespace sampler

namespace sample {
constexpr int32_t kSampleRate = 0x04;
constexpr int32_t kPitch = 0x05;
constexpr int32_t kStart = 0x07;
constexpr int32_t kEnd = 0x08;
constexpr int32_t kLoopStart = 0x09;
constexpr int32_t kLoopEnd = 0x0A;
constexpr int32_t kImportWav = kMenu + 2;
constexpr int32_t kImportWavDpcm = kMenu + 3;
constexpr int32_t kImportWavAdpcm = kMenu + 4;
constexpr int32_t kImportData = kMenu + 5;
constexpr int32_t kExportData = kMenu + 6;
}  // namespace sample

// MIDI-mapped parameters: bit 16 marks them, then channel × 256 + number; numbers above the
// controllers are pitch bend and program change.
constexpr uint32_t kMidiParamBase = 0x10000;
constexpr int32_t kPitchBendNumber = 129;
constexpr int32_t kProgramChangeNumber = 130;
constexpr int32_t kResetAllControllersNumber = 121;

constexpr uint32_t midiParamId(int32_t channel, int32_t number) {
    return kMidiParamBase + static_cast<uint32_t>(channel & 15) * 256 + static_cast<uint32_t>(number);
}

/// How the editor shows and edits a field.
enum class Control : int32_t {
    kSlider,   ///< a slider and its number field
    kChoice,   ///< a drop-down list
    kName,     ///< the preset's 16 characters
    kDecimal,  ///< a number field in Hz, sent as it reads
    kFrames,   ///< a number field of sample frames, sent as it reads
};

/// The records of fields the engine numbers no field for; the preset fields use the
/// engine's own numbers (synth::kTone..., synth::kSampler...).
enum Record : int32_t {
    kRecordSelection = 0x100,
    kRecordName,
    kRecordMasterVolume,
    kRecordMasterTune,
    kRecordMode,
    kRecordProgram,
    kRecordBendRange,
    kRecordPitchBend,
    kRecordController,  ///< the part's controller of the row's MIDI number
    kRecordSampleRate,
    kRecordPitch,
    kRecordStart,
    kRecordEnd,
    kRecordLoopStart,
    kRecordLoopEnd,
};

struct Field {
    int32_t group, code;
    Control control;
    int32_t record;
    int32_t range;        ///< the stored integer is value × range, rounded; 0 for other values
    int32_t shownOffset;  ///< the number field shows the stored integer less this
    int32_t midi;         ///< the MIDI number the host also sees it as; -1 for none
    bool selectsSlot;     ///< the field names a sample slot, which becomes the selected one
};

constexpr Field kFields[] = {
    // group, code, control, record, range, shown offset, MIDI number, selects a slot
    {kGroupSystem, system::kVolume, Control::kSlider, kRecordMasterVolume, 0, 0, -1, false},
    {kGroupSystem, system::kTune, Control::kSlider, kRecordMasterTune, 0, 0, -1, false},

    {kGroupPart, kSelect, Control::kChoice, kRecordSelection, 15, 0, -1, false},
    {kGroupPart, part::kMode, Control::kChoice, kRecordMode, 3, 0, -1, false},
    {kGroupPart, part::kProgram, Control::kSlider, kRecordProgram, 127, 0, kProgramChangeNumber, false},
    {kGroupPart, part::kBendRange, Control::kSlider, kRecordBendRange, 127, 0, -1, false},
    {kGroupPart, part::kPitchBend, Control::kSlider, kRecordPitchBend, 16383, 8192, kPitchBendNumber, false},
    {kGroupPart, part::kModulation, Control::kSlider, kRecordController, 127, 0, 1, false},
    {kGroupPart, part::kVolume, Control::kSlider, kRecordController, 127, 0, 7, false},
    {kGroupPart, part::kPan, Control::kSlider, kRecordController, 127, 64, 10, false},
    {kGroupPart, part::kExpression, Control::kSlider, kRecordController, 127, 0, 11, false},

    {kGroupTone, kSelect, Control::kSlider, kRecordSelection, 127, 0, -1, false},
    {kGroupTone, preset::kName, Control::kName, kRecordName, 0, 0, -1, false},
    {kGroupTone, tone::kStrc, Control::kChoice, synth::kToneStrc, 2, 0, -1, false},
    {kGroupTone, tone::kLfoFreq, Control::kSlider, synth::kToneLfoFreq, 16383, 0, -1, false},
    {kGroupTone, tone::kLms, Control::kSlider, synth::kToneLms, 15, 0, -1, false},
    {kGroupTone, tone::kTune, Control::kSlider, synth::kToneTune, 16383, 0, -1, false},
    {kGroupTone, tone::kWave, Control::kSlider, synth::kToneWave, 127, 0, -1, true},
    {kGroupTone, tone::kTl, Control::kSlider, synth::kToneTl, 127, 0, -1, false},
    {kGroupTone, tone::kAr, Control::kSlider, synth::kToneAr, 127, 0, -1, false},
    {kGroupTone, tone::kDr, Control::kSlider, synth::kToneDr, 127, 0, -1, false},
    {kGroupTone, tone::kSl, Control::kSlider, synth::kToneSl, 127, 0, -1, false},
    {kGroupTone, tone::kRr, Control::kSlider, synth::kToneRr, 127, 0, -1, false},
    {kGroupTone, tone::kKf, Control::kSlider, synth::kToneKf, 3, 0, -1, false},
    {kGroupTone, tone::kKfStart, Control::kSlider, synth::kToneKfStart, 127, 0, -1, false},

    {kGroupSampler, kSelect, Control::kSlider, kRecordSelection, 127, 0, -1, false},
    {kGroupSampler, preset::kName, Control::kName, kRecordName, 0, 0, -1, false},
    {kGroupSampler, sampler::kSmplNum, Control::kSlider, synth::kSamplerSmplNum, 127, 0, -1, true},
    {kGroupSampler, sampler::kPan, Control::kSlider, synth::kSamplerPan, 127, 0, -1, false},
    {kGroupSampler, sampler::kOctv, Control::kSlider, synth::kSamplerOctv, 15, 0, -1, false},
    {kGroupSampler, sampler::kTune, Control::kSlider, synth::kSamplerTune, 16383, 0, -1, false},
    {kGroupSampler, sampler::kTl, Control::kSlider, synth::kSamplerTl, 127, 0, -1, false},
    {kGroupSampler, sampler::kAr, Control::kSlider, synth::kSamplerAr, 127, 0, -1, false},
    {kGroupSampler, sampler::kDr, Control::kSlider, synth::kSamplerDr, 127, 0, -1, false},
    {kGroupSampler, sampler::kSl, Control::kSlider, synth::kSamplerSl, 127, 0, -1, false},
    {kGroupSampler, sampler::kRr, Control::kSlider, synth::kSamplerRr, 127, 0, -1, false},

    {kGroupSample, kSelect, Control::kSlider, kRecordSelection, 127, 0, -1, false},
    {kGroupSample, sample::kSampleRate, Control::kDecimal, kRecordSampleRate, 0, 0, -1, false},
    {kGroupSample, sample::kPitch, Control::kDecimal, kRecordPitch, 0, 0, -1, false},
    {kGroupSample, sample::kStart, Control::kFrames, kRecordStart, 0, 0, -1, false},
    {kGroupSample, sample::kEnd, Control::kFrames, kRecordEnd, 0, 0, -1, false},
    {kGroupSample, sample::kLoopStart, Control::kFrames, kRecordLoopStart, 0, 0, -1, false},
    {kGroupSample, sample::kLoopEnd, Control::kFrames, kRecordLoopEnd, 0, 0, -1, false},
};

/// The row of a group's code; null for menus, commands and unknown codes.
constexpr const Field* fieldOf(int32_t group, int32_t code) {
    for (const Field& f : kFields)
        if (f.group == group && f.code == code) return &f;
    return nullptr;
}

constexpr const Field& field(int32_t group, int32_t code) {
    return *fieldOf(group, code);
}

/// The range of a group's code; 0 where there is none.
constexpr int32_t rangeOf(int32_t group, int32_t code) {
    const Field* f = fieldOf(group, code);
    return f ? f->range : 0;
}

// File requests: the operation in bits 8 to 15, the sample slot in bits 0 to 6 where one is
// needed. The operation's bit 5 marks the WAV imports (one request per file), bit 4 the
// others (one file), bit 7 the exports.
constexpr int32_t kFileImportTones = 0x11;
constexpr int32_t kFileImportSamplers = 0x12;
constexpr int32_t kFileImportSampleData = 0x15;
constexpr int32_t kFileImportWav = 0x21;
constexpr int32_t kFileImportWavDpcm = 0x22;
constexpr int32_t kFileImportWavAdpcm = 0x23;
constexpr int32_t kFileExportTones = 0x91;
constexpr int32_t kFileExportSamplers = 0x92;
constexpr int32_t kFileExportToneSysEx = 0x93;
constexpr int32_t kFileExportSamplerSysEx = 0x94;
constexpr int32_t kFileExportSampleData = 0x95;
constexpr int32_t kFileWavImportBit = 0x20;
constexpr int32_t kFileOneFileBit = 0x10;
constexpr int32_t kRequestSlotMask = 127;

constexpr int32_t requestOf(int32_t operation) {
    return operation << 8;
}
constexpr int32_t operationOf(int64_t request) {
    return groupOf(request);
}
constexpr int32_t slotOf(int64_t request) {
    return static_cast<int32_t>(request & kRequestSlotMask);
}

constexpr int32_t kRequestImportTones = requestOf(kFileImportTones);
constexpr int32_t kRequestImportSamplers = requestOf(kFileImportSamplers);
constexpr int32_t kRequestImportSampleData = requestOf(kFileImportSampleData);
constexpr int32_t kRequestImportWav = requestOf(kFileImportWav);
constexpr int32_t kRequestImportWavDpcm = requestOf(kFileImportWavDpcm);
constexpr int32_t kRequestImportWavAdpcm = requestOf(kFileImportWavAdpcm);
constexpr int32_t kRequestExportTones = requestOf(kFileExportTones);
constexpr int32_t kRequestExportSamplers = requestOf(kFileExportSamplers);
constexpr int32_t kRequestExportToneSysEx = requestOf(kFileExportToneSysEx);
constexpr int32_t kRequestExportSamplerSysEx = requestOf(kFileExportSamplerSysEx);
constexpr int32_t kRequestExportSampleData = requestOf(kFileExportSampleData);
constexpr int32_t kRequestWavImportBit = requestOf(kFileWavImportBit);
constexpr int32_t kRequestOneFileBit = requestOf(kFileOneFileBit);

}  // namespace velt::corvane::host::protocol
