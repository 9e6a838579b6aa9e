// Control tags: bit 28 marks a control handled by its value or its own text, bit 29 a number
// field that mirrors a slider; bits 8 to 15 the group, bits 0 to 7 the item. The low 16 bits
// travel in the value-change messages.
#pragma once

#include <cstdint>

namespace velt::corvane::editor {

constexpr int32_t kValueBit = 0x10000000;
constexpr int32_t kMirrorBit = 0x20000000;

constexpr int32_t kGroupSystem = 0x00;
constexpr int32_t kGroupPart = 0x01;
constexpr int32_t kGroupTone = 0x10;
constexpr int32_t kGroupSampler = 0x20;
constexpr int32_t kGroupSample = 0x30;
constexpr int32_t kGroupLogo = 0x80;

constexpr int32_t kItemMenuButton = 0x00;
constexpr int32_t kItemPopup = 0x80;
constexpr int32_t kItemSubmenu = 0x90;

constexpr int32_t tagOf(int32_t group, int32_t item) { return kValueBit | (group << 8) | item; }
constexpr int32_t mirrorTagOf(int32_t group, int32_t item) { return kMirrorBit | (group << 8) | item; }
constexpr int32_t groupOf(int32_t tag) { return (tag >> 8) & 0xFF; }
constexpr int32_t itemOf(int32_t tag) { return tag & 0xFF; }
constexpr int32_t messageTag(int32_t tag) { return tag & 0xFFFF; }

constexpr int32_t kLogoTag = 0x10008000;
constexpr int32_t kLibraryLogoTag = 0x10008001;

// File requests of the dialogs: bit 13 WAV imports, bit 12 the others, bit 15 exports.
constexpr int32_t kRequestImportTones = 0x1100;
constexpr int32_t kRequestImportSamplers = 0x1200;
constexpr int32_t kRequestImportSampleData = 0x1500;
constexpr int32_t kRequestImportWav = 0x2100;
constexpr int32_t kRequestImportWavDpcm = 0x2200;
constexpr int32_t kRequestImportWavAdpcm = 0x2300;
constexpr int32_t kRequestExportTones = 0x9100;
constexpr int32_t kRequestExportSamplers = 0x9200;
constexpr int32_t kRequestExportToneSysEx = 0x9300;
constexpr int32_t kRequestExportSamplerSysEx = 0x9400;
constexpr int32_t kRequestExportSampleData = 0x9500;

}  // namespace velt::corvane::editor
