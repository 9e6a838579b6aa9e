// Where the seed generator writes: one folder per fuzzer, one file per seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velt::corvane::fuzz::seeds {

class SeedFolder {
public:
    /// root/<fuzzer>/, created when missing; earlier seeds there are replaced.
    SeedFolder(const std::string& root, const std::string& fuzzer);

    void add(const std::string& name, const std::vector<uint8_t>& bytes);
    void add(const std::string& name, const std::string& text);
    /// A seed whose first byte selects the fuzzer's mode (encoding or text kind).
    void addWithMode(const std::string& name, uint8_t mode, const std::vector<uint8_t>& bytes);

    int32_t count() const { return count_; }
    bool ok() const { return ok_; }
    const std::string& path() const { return folder_; }

private:
    std::string folder_;
    int32_t count_ = 0;
    bool ok_ = true;
};

void writeWavSeeds(SeedFolder& out);
void writeTextSeeds(SeedFolder& out);
void writeStateSeeds(SeedFolder& out);
void writeSysExSeeds(SeedFolder& out);
void writeMidiFileSeeds(SeedFolder& out);
void writeMessageSeeds(SeedFolder& out);
void writeHostSeeds(SeedFolder& out);

}  // namespace velt::corvane::fuzz::seeds
