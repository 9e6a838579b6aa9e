// Without --plugin, the tools load the bundle from the folders hosts scan, in the hosts' order.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/toolkit/render_options.h"

namespace velt::corvane::tooltest {
namespace {

namespace fs = std::filesystem;

class HomeOverride {
public:
    explicit HomeOverride(const std::string& home) {
        if (const char* old = std::getenv("HOME")) {
            saved_ = old;
            hadHome_ = true;
        }
        setenv("HOME", home.c_str(), 1);
    }
    ~HomeOverride() {
        if (hadHome_) {
            setenv("HOME", saved_.c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }

private:
    std::string saved_;
    bool hadHome_ = false;
};

bool isDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(DefaultPluginPath, UserFolderFirstThenTheSystemFolders) {
    std::string pattern = (fs::temp_directory_path() / "corvane-home-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path home = pattern;
    const std::string user = (home / ".vst3/Corvane Synth PCM.vst3").string();
    {
        HomeOverride override(home.string());
        // No copy of the user's: a packaged one if there is one, else where the user's would be.
        const std::string fallback = tools::defaultPluginPath();
        const std::string packaged = "/usr/lib/vst3/Corvane Synth PCM.vst3";
        const std::string local = "/usr/local/lib/vst3/Corvane Synth PCM.vst3";
        if (isDirectory(packaged)) {
            EXPECT_EQ(fallback, packaged);
        } else if (isDirectory(local)) {
            EXPECT_EQ(fallback, local);
        } else {
            EXPECT_EQ(fallback, user);
        }
        // A copy in ~/.vst3 wins over both.
        fs::create_directories(user);
        EXPECT_EQ(tools::defaultPluginPath(), user);
    }
    fs::remove_all(home);
}

}  // namespace
}  // namespace velt::corvane::tooltest
