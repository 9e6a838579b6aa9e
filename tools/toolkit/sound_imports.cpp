#include "tools/toolkit/sound_imports.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "presetfiles/preset_text_import.h"
#include "synth/pcm/sample_import.h"

namespace velt::corvane::tools {

void renderWarning(std::ostream& err, const std::string& message) {
    err << "corvane-render: warning: " << message << '\n';
}

bool importWavFiles(const RenderOptions& options, SampleData* slots, std::ostream& err, std::string& error) {
    for (const WavImportRequest& request : options.wavImports) {
        PreparedSample prepared = prepareSampleFromFile(request.path.c_str(), request.encoding);
        switch (prepared.result) {
            case SampleImportResult::Imported: break;
            case SampleImportResult::NoSamples:
                renderWarning(err, request.path + ": bit depth cannot be converted; slot " +
                                       std::to_string(request.slot) + " is left without samples");
                break;
            case SampleImportResult::Rejected:
                error =
                    request.path +
                    ": not a usable WAV file (RIFF/WAVE integer PCM, 1 or 2 channels, 8 to 32 bits expected)";
                return false;
            case SampleImportResult::Unreadable: error = request.path + ": cannot be read"; return false;
            case SampleImportResult::UnknownEncoding:
                error = request.path + ": unknown encoding";
                return false;
        }
        if (!slots) continue;
        // Nothing renders from these slots yet, so the replaced array can go at once.
        std::unique_ptr<uint32_t[]> previous = installPreparedSample(slots[request.slot], prepared);
    }
    return true;
}

bool importTextFiles(const RenderOptions& options, const ImportTables& tables, std::string& error) {
    const std::string* paths[3] = {&options.tonesPath, &options.samplersPath, &options.samplesPath};
    for (int32_t kind = 0; kind < 3; ++kind) {
        const std::string& path = *paths[kind];
        if (path.empty()) continue;
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (!probe) {
            error = path + ": cannot open: " + std::strerror(errno);
            return false;
        }
        std::fclose(probe);
        presetfiles::SoundTables sound;
        sound.tones = tables.tones;
        sound.samplers = tables.samplers;
        sound.slots = tables.slots;
        if (!presetfiles::importText(path.c_str(), kind, sound)) {
            error = path + ": cannot be read";
            return false;
        }
    }
    return true;
}

}  // namespace velt::corvane::tools
