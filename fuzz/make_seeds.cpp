// Writes the seed corpus of every fuzzer: make_seeds [ROOT] (default "seeds"), one
// folder per fuzzer under ROOT. Prints one line per fuzzer with its seed count.
#include <cstdio>
#include <string>

#include "fuzz/seeds/seed_folder.h"

int main(int argc, char** argv) {
    using namespace velt::corvane::fuzz::seeds;
    const std::string root = argc > 1 ? argv[1] : "seeds";
    struct Generator {
        const char* fuzzer;
        void (*write)(SeedFolder&);
    };
    const Generator generators[] = {
        {"fuzz_wav_import", writeWavSeeds},      {"fuzz_text_import", writeTextSeeds},
        {"fuzz_state_restore", writeStateSeeds}, {"fuzz_sysex", writeSysExSeeds},
        {"fuzz_midi_file", writeMidiFileSeeds},  {"fuzz_messages", writeMessageSeeds},
        {"fuzz_host_process", writeHostSeeds},
    };
    bool ok = true;
    for (const Generator& g : generators) {
        SeedFolder folder(root, g.fuzzer);
        g.write(folder);
        std::printf("%-20s %3d seeds in %s\n", g.fuzzer, folder.count(), folder.path().c_str());
        ok = ok && folder.ok() && folder.count() > 0;
    }
    return ok ? 0 : 1;
}
