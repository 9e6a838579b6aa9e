// The module's dynamic symbol table holds exactly the three entry points, and ModuleEntry and
// ModuleExit nest the way hosts rely on.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/plugin/plugin_test_support.h"
#include "tools/vst3host/vst3_module.h"

namespace velt::corvane::test {
namespace {

using tools::Vst3Module;

template <typename T>
bool readAt(const std::vector<char>& file, uint64_t offset, T* out) {
    if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
    std::memcpy(out, file.data() + offset, sizeof(T));
    return true;
}

// Names of the defined global and weak symbols in the .dynsym section of a 64-bit ELF file.
bool definedDynamicSymbols(const std::string& path, std::set<std::string>* names) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Elf64_Ehdr header;
    if (!readAt(file, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr))
        return false;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!readAt(file, header.e_shoff + i * sizeof(Elf64_Shdr), &sections[i])) return false;
    }
    for (const Elf64_Shdr& table : sections) {
        if (table.sh_type != SHT_DYNSYM) continue;
        if (table.sh_entsize != sizeof(Elf64_Sym) || table.sh_link >= sections.size()) return false;
        const Elf64_Shdr& strings = sections[table.sh_link];
        for (uint64_t i = 1; i < table.sh_size / sizeof(Elf64_Sym); ++i) {
            Elf64_Sym symbol;
            if (!readAt(file, table.sh_offset + i * sizeof(Elf64_Sym), &symbol)) return false;
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || binding == STB_LOCAL) continue;
            if (symbol.st_name >= strings.sh_size || strings.sh_offset + strings.sh_size > file.size())
                return false;
            const char* name = file.data() + strings.sh_offset + symbol.st_name;
            names->insert(std::string(name, strnlen(name, strings.sh_size - symbol.st_name)));
        }
        return true;
    }
    return false;
}

TEST(ModuleExports, ExactlyTheThreeEntryPoints) {
    const std::string modulePath = Vst3Module::modulePathOf(bundlePath());
    EXPECT_NE(modulePath.find("/Corvane Synth PCM.vst3/Contents/x86_64-linux/Corvane Synth PCM.so"),
              std::string::npos);

    std::set<std::string> names;
    ASSERT_TRUE(definedDynamicSymbols(modulePath, &names)) << modulePath;
    EXPECT_EQ(names, (std::set<std::string>{"GetPluginFactory", "ModuleEntry", "ModuleExit"}));

    // Unmangled names, found through a local handle as a host looks them up.
    void* handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "GetPluginFactory"), nullptr);
    EXPECT_NE(dlsym(handle, "ModuleEntry"), nullptr);
    EXPECT_NE(dlsym(handle, "ModuleExit"), nullptr);
    dlclose(handle);
}

TEST(ModuleExports, EntryAndExitNest) {
    const std::string modulePath = Vst3Module::modulePathOf(bundlePath());
    void* handle = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(handle, "ModuleEntry"));
    auto exit = reinterpret_cast<bool (*)()>(dlsym(handle, "ModuleExit"));
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(exit, nullptr);

    // An exit with no entry to match fails; the entry after it only brings the count back to zero.
    EXPECT_FALSE(exit());
    EXPECT_TRUE(entry(handle));

    EXPECT_TRUE(entry(handle));  // initialises
    EXPECT_TRUE(entry(handle));
    EXPECT_TRUE(entry(handle));
    EXPECT_TRUE(exit());
    EXPECT_TRUE(exit());
    EXPECT_TRUE(exit());  // de-initialises
    EXPECT_FALSE(exit());
    EXPECT_FALSE(exit());
    EXPECT_TRUE(entry(handle));
    EXPECT_TRUE(entry(handle));  // count back at zero

    // A full load still works after all this.
    {
        std::string error;
        auto module = Vst3Module::load(bundlePath(), &error);
        ASSERT_NE(module, nullptr) << error;
        EXPECT_EQ(module->factory()->countClasses(), 2);
    }
    dlclose(handle);
}

TEST(ModuleExports, LoadRefusesWhatIsNoBundle) {
    std::string error;
    EXPECT_EQ(Vst3Module::load(Vst3Module::modulePathOf(bundlePath()), &error), nullptr);
    EXPECT_NE(error.find("not a .vst3 bundle"), std::string::npos);
    EXPECT_EQ(Vst3Module::load(std::string(CORVANE_BINARY_DIR) + "/missing.vst3", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Vst3Module::modulePathOf("/a/b/Name.vst3/"), "/a/b/Name.vst3/Contents/x86_64-linux/Name.so");
    EXPECT_EQ(Vst3Module::modulePathOf(".vst3"), "");
}

}  // namespace
}  // namespace velt::corvane::test
