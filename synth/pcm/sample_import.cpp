#include "synth/pcm/sample_import.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <system_error>

#include "synth/pcm/sample_codecs.h"
#include "synth/pcm/wav_reader.h"
#include "synth/pcm/wav_samples.h"

namespace velt::corvane {
namespace {

constexpr uint64_t kMaxInt32 = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
// A RIFF size field cannot describe a longer file.
constexpr uint64_t kMaxWavFileSize = uint64_t{0xFFFFFFFFu} + 8u;

PreparedSample withResult(SampleImportResult result) {
    PreparedSample p;
    p.result = result;
    return p;
}

template <typename T>
std::unique_ptr<T[]> allocate(int32_t n) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<size_t>(n)]);
}

// Fills p.codes from the 8-bit samples after a DPCM round trip; false when out of memory.
bool convertThroughDpcm(const WavInfo& info, int32_t n, PreparedSample& p) {
    auto samples = allocate<int8_t>(n);
    auto encoded = allocate<uint8_t>(n >> 1);
    p.codes = allocate<uint32_t>(n);
    if (!samples || !encoded || !p.codes) return false;
    if (!reduceTo8Bit(info, samples.get())) {
        p.codes.reset();
        return true;
    }
    encodeDpcm(samples.get(), n, info.channels, encoded.get(), n >> 1);
    decodeDpcm(encoded.get(), n >> 1, info.channels, samples.get(), n);
    for (int32_t i = 0; i < n; ++i) p.codes[i] = linearToLogCode(samples[i] / 128.0);
    return true;
}

// Fills p.codes from the 16-bit samples after an ADPCM round trip; false when out of memory.
bool convertThroughAdpcm(const WavInfo& info, int32_t n, PreparedSample& p) {
    auto samples = allocate<int16_t>(n);
    auto encoded = allocate<uint8_t>(n >> 1);
    p.codes = allocate<uint32_t>(n);
    if (!samples || !encoded || !p.codes) return false;
    if (!reduceTo16Bit(info, samples.get())) {
        p.codes.reset();
        return true;
    }
    encodeAdpcm(samples.get(), n, info.channels, encoded.get(), n >> 1);
    decodeAdpcm(encoded.get(), n >> 1, info.channels, samples.get(), n);
    for (int32_t i = 0; i < n; ++i) p.codes[i] = linearToLogCode(samples[i] / 32768.0);
    return true;
}

// Fills p.codes straight from the file's samples; false when out of memory.
bool convertPcm(const WavInfo& info, int32_t n, PreparedSample& p) {
    p.codes = allocate<uint32_t>(n);
    if (!p.codes) return false;
    if (!pcmToLog(info, p.codes.get())) p.codes.reset();
    return true;
}

bool acceptedForImport(const WavInfo& info) {
    return isAcceptedWav(info) && static_cast<uint64_t>(info.frameCount) * info.channels <= kMaxInt32;
}

// The whole file in bytes and length; Imported when read, else why not.
SampleImportResult readWholeFile(const char* path, std::unique_ptr<uint8_t[]>& bytes, size_t& length) {
    if (path == nullptr) return SampleImportResult::Unreadable;
    std::error_code ec;
    const std::filesystem::path filePath(path);
    if (!std::filesystem::is_regular_file(filePath, ec) || ec) return SampleImportResult::Unreadable;
    const uintmax_t size = std::filesystem::file_size(filePath, ec);
    if (ec) return SampleImportResult::Unreadable;
    if (size > kMaxWavFileSize) return SampleImportResult::Rejected;

    std::ifstream in(filePath, std::ios::binary);
    if (!in) return SampleImportResult::Unreadable;
    length = static_cast<size_t>(size);
    bytes.reset(new (std::nothrow) uint8_t[length > 0 ? length : 1]);
    if (!bytes) return SampleImportResult::Rejected;
    in.read(reinterpret_cast<char*>(bytes.get()), static_cast<std::streamsize>(length));
    if (static_cast<uintmax_t>(in.gcount()) != size) return SampleImportResult::Unreadable;
    return SampleImportResult::Imported;
}

}  // namespace

PreparedSample prepareSampleFromWav(const uint8_t* bytes, size_t size, int32_t encoding) {
    const WavInfo info = parseWav(bytes, size);
    if (!acceptedForImport(info)) return withResult(SampleImportResult::Rejected);
    if (encoding < kSampleEncodingPcm || encoding > kSampleEncodingAdpcm) {
        return withResult(SampleImportResult::UnknownEncoding);
    }

    const int32_t n = static_cast<int32_t>(static_cast<uint64_t>(info.frameCount) * info.channels);
    PreparedSample p;
    bool enoughMemory = false;
    if (encoding == kSampleEncodingPcm)
        enoughMemory = convertPcm(info, n, p);
    else if (encoding == kSampleEncodingDpcm)
        enoughMemory = convertThroughDpcm(info, n, p);
    else
        enoughMemory = convertThroughAdpcm(info, n, p);
    if (!enoughMemory) return withResult(SampleImportResult::Rejected);

    p.sampleRate = static_cast<float>(info.sampleRate);
    if (p.codes) {
        p.result = SampleImportResult::Imported;
        p.frameCount = static_cast<int32_t>(info.frameCount);
        p.channels = info.channels;
    } else {
        p.result = SampleImportResult::NoSamples;
    }
    return p;
}

PreparedSample prepareSampleFromFile(const char* path, int32_t encoding) {
    std::unique_ptr<uint8_t[]> bytes;
    size_t length = 0;
    const SampleImportResult read = readWholeFile(path, bytes, length);
    if (read != SampleImportResult::Imported) return withResult(read);
    return prepareSampleFromWav(bytes.get(), length, encoding);
}

bool isImportableWavFile(const char* path) {
    std::unique_ptr<uint8_t[]> bytes;
    size_t length = 0;
    if (readWholeFile(path, bytes, length) != SampleImportResult::Imported) return false;
    return acceptedForImport(parseWav(bytes.get(), length));
}

std::unique_ptr<uint32_t[]> installPreparedSample(SampleData& slot, PreparedSample& prepared) {
    if (prepared.result != SampleImportResult::Imported && prepared.result != SampleImportResult::NoSamples) {
        return nullptr;
    }
    // Take the array out first so that clear() has nothing to free.
    std::unique_ptr<uint32_t[]> previous(slot.hasData ? slot.samples : nullptr);
    slot.hasData = false;
    slot.samples = nullptr;
    slot.clear();
    if (prepared.codes) {
        slot.samples = prepared.codes.release();
        slot.hasData = true;
        slot.frameCount = prepared.frameCount;
        slot.channels = prepared.channels;
        slot.PlayBackEndPoint = prepared.frameCount;
        slot.LoopEndPoint = prepared.frameCount;
    }
    setSampleRateFields(slot, prepared.sampleRate);
    return previous;
}

}  // namespace velt::corvane
