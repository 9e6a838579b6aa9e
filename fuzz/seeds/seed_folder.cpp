#include "fuzz/seeds/seed_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace velt::corvane::fuzz::seeds {

SeedFolder::SeedFolder(const std::string& root, const std::string& fuzzer) : folder_(root + "/" + fuzzer) {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    std::filesystem::create_directories(folder_, ec);
    ok_ = !ec;
}

void SeedFolder::add(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream file(folder_ + "/" + name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) ok_ = false;
    ++count_;
}

void SeedFolder::add(const std::string& name, const std::string& text) {
    add(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void SeedFolder::addWithMode(const std::string& name, uint8_t mode, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> seed(1, mode);
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    add(name, seed);
}

}  // namespace velt::corvane::fuzz::seeds
