// The persisted state chunk as plain data, with its reader and writer. Nothing here
// knows the VST 3 SDK or the engine's threads: the processor adapts its stream to
// ByteSource/ByteSink and applies what was read; tools build chunks with the same code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "synth/core/engine_limits.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::state {

constexpr int32_t kChunkVersion = 4;
constexpr int32_t kOldestReadableVersion = 2;
/// Longer recorded paths are refused as corrupt rather than allocated.
constexpr uint32_t kMaxPathBytes = 65536;

/// The part fields that the chunk carries.
struct PartRecord {
    int32_t outputBus = 0;
    int32_t defaultMode = 1;
    int32_t mode = 1;
    int32_t program = 0;
    int32_t pitchBendRange = 2;
    int32_t pitchBend = 8192;
    int32_t modulation = 0;
    int32_t volume = 100;
    int32_t pan = 64;
    int32_t expression = 127;
};

/// One sample-data slot's entry.
struct SlotEntry {
    bool present = false;  ///< a recorded path and frameCount above 0
    std::string path;
    int32_t encoding = 0;
    float sampleRate = 0.0f;
    float Pitch = 0.0f;
    uint32_t start = 0;      ///< PlayBackStartPoint
    uint32_t end = 0;        ///< PlayBackEndPoint
    uint32_t loopStart = 0;  ///< 0 without a loop
    uint32_t loopEnd = 0;    ///< 0 without a loop
};

/// How far into a slot entry the reader got before the chunk ended.
enum class SlotProgress : uint8_t {
    NotReached,  ///< the presence byte was not read
    Absent,      ///< presence 0: the slot keeps what it holds
    Path,        ///< path (and, from version 3, encoding) read: import it
    SampleRate,  ///< ... and sampleRate
    Pitch,       ///< ... and Pitch
    Points,      ///< ... and start/end
    Complete,    ///< ... and the loop
};

struct StateChunk {
    int32_t version = kChunkVersion;
    bool acceptSysEx = false;
    bool nrpnEnabled = false;
    float masterVolume = 0.8f;
    float masterTune = 440.0f;
    int32_t voiceCount = 128;
    std::array<PartRecord, kPartCount> parts{};
    std::array<TonePreset, kPresetCount> tones{};
    std::array<SamplerPreset, kPresetCount> samplers{};
    std::array<SlotEntry, kSampleSlotCount> slots{};
};

/// Where a read stopped. Fields before the stop were stored into the chunk; records
/// only partly read hold the read fields over whatever the chunk held before.
struct ReadProgress {
    bool versionRead = false;  ///< a version byte was read (it may still be refused)
    bool versionAccepted = false;
    bool flagsRead = false;  ///< acceptSysEx and nrpnEnabled (never fail on their own)
    bool volumeRead = false;
    bool tuneRead = false;
    bool voiceCountRead = false;
    int32_t partsReached = 0;  ///< parts with at least one field read
    int32_t tonesReached = 0;
    int32_t samplersReached = 0;
    std::array<SlotProgress, kSampleSlotCount> slots{};
    bool complete = false;  ///< every field read
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads exactly size bytes; false (and nothing promised about dst) when fewer remain.
    virtual bool read(void* dst, size_t size) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const void* src, size_t size) = 0;
};

/// A source over bytes held in memory.
class MemorySource final : public ByteSource {
public:
    MemorySource(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool read(void* dst, size_t size) override;
    size_t position() const { return position_; }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_ = 0;
};

/// A sink that appends to a vector.
class VectorSink final : public ByteSink {
public:
    explicit VectorSink(std::vector<uint8_t>& out) : out_(out) {}
    void write(const void* src, size_t size) override;

private:
    std::vector<uint8_t>& out_;
};

/// Writes chunk as version 4, whatever chunk.version says.
void writeStateChunk(const StateChunk& chunk, ByteSink& sink);
std::vector<uint8_t> stateChunkBytes(const StateChunk& chunk);

/// Reads fields into chunk in chunk order until the source fails. Fields the read did not
/// reach keep their values. A version below 2 stops the read after the version byte.
ReadProgress readStateChunk(ByteSource& source, StateChunk& chunk);

}  // namespace velt::corvane::state
