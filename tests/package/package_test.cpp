// The Debian package as a user gets it: what `dpkg-deb -c` lists, what lintian says, and the
// demo rendered by the unpacked package's own corvane-render and plug-in.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "corvane_version.h"

namespace velt::corvane::test {
namespace {

namespace fs = std::filesystem;

struct CommandResult {
    int status = -1;
    std::string output;  ///< standard output and error together
};

std::string quoted(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

CommandResult run(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& a : args) command += quoted(a) + " ";
    command += "2>&1";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool installed(const std::string& program) {
    return run({"sh", "-c", "command -v " + program}).status == 0;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

const std::string kDeb = CORVANE_DEB_PATH;
const std::string kBundleName = "Corvane Synth PCM.vst3";

// Every test needs the package the fixture built; without the Debian tools there is none.
#define REQUIRE_PACKAGE()                                                                             \
    do {                                                                                              \
        if (!installed("dpkg-deb") || !installed("dpkg-shlibdeps"))                                   \
            GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps is not installed (apt-get install dpkg-dev)"; \
        ASSERT_TRUE(fs::exists(kDeb)) << kDeb << " was not built";                                    \
    } while (0)

/// A directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "corvane-package-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::set<std::string> namesIn(const fs::path& dir, const std::string& extension = "") {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            names.insert(name);
    }
    return names;
}

TEST(Package, ListsExactlyTheShippedFilesWithTheirModes) {
    REQUIRE_PACKAGE();
    const CommandResult listing = run({"dpkg-deb", "-c", kDeb});
    ASSERT_EQ(listing.status, 0) << listing.output;

    const std::string bundle = "./usr/lib/vst3/" + kBundleName + "/";
    const std::string doc = "./usr/share/doc/corvane-synth-pcm/";
    std::set<std::string> expected;
    const auto dir = [&](const std::string& path) { expected.insert("drwxr-xr-x root/root " + path); };
    const auto program = [&](const std::string& path) { expected.insert("-rwxr-xr-x root/root " + path); };
    const auto file = [&](const std::string& path) { expected.insert("-rw-r--r-- root/root " + path); };
    for (const char* d : {"./usr/", "./usr/bin/", "./usr/lib/", "./usr/lib/vst3/", "./usr/share/",
                          "./usr/share/doc/", "./usr/share/man/", "./usr/share/man/man1/"})
        dir(d);
    for (const std::string& d : {bundle, bundle + "Contents/", bundle + "Contents/Resources/",
                                 bundle + "Contents/x86_64-linux/", doc, doc + "demo/"})
        dir(d);
    program("./usr/bin/corvane-render");
    program("./usr/bin/corvane-host");
    // A module is loaded, not run: no execute bit.
    file(bundle + "Contents/x86_64-linux/Corvane Synth PCM.so");
    file(bundle + "Contents/Resources/moduleinfo.json");
    for (const std::string& png : namesIn(fs::path(CORVANE_SOURCE_DIR) / "resources/art", ".png"))
        file(bundle + "Contents/Resources/" + png);
    file("./usr/share/man/man1/corvane-render.1.gz");
    file("./usr/share/man/man1/corvane-host.1.gz");
    file(doc + "README.md");
    file(doc + "copyright");
    file(doc + "changelog.gz");
    for (const std::string& name : namesIn(fs::path(CORVANE_SOURCE_DIR) / "resources/demo"))
        file(doc + "demo/" + name);

    // "-rw-r--r-- root/root    1073 2026-12-08 10:51 ./usr/..." (names may hold spaces).
    const std::regex line(R"(^(\S+) (\S+)\s+\d+ \S+ \S+ (.*)$)");
    std::set<std::string> listed;
    std::istringstream lines(listing.output);
    for (std::string text; std::getline(lines, text);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, line)) << text;
        listed.insert(m[1].str() + " " + m[2].str() + " " + m[3].str());
    }
    for (const std::string& entry : expected) EXPECT_TRUE(listed.count(entry)) << "missing: " << entry;
    for (const std::string& entry : listed) EXPECT_TRUE(expected.count(entry)) << "unexpected: " << entry;

    const CommandResult fields =
        run({"dpkg-deb", "-f", kDeb, "Package", "Version", "Architecture", "Depends", "Recommends"});
    ASSERT_EQ(fields.status, 0) << fields.output;
    EXPECT_NE(fields.output.find("Package: corvane-synth-pcm\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("Version: " CORVANE_VERSION "\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("Recommends: zenity | kdialog\n"), std::string::npos) << fields.output;
    // CommandResult-time libraries only, worked out from the binaries.
    EXPECT_NE(fields.output.find("libc6"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("libcairo2"), std::string::npos) << fields.output;
    for (const char* tool : {"gtest", "cmake", "ninja", "-dev", "xvfb", "xdotool", "lintian"})
        EXPECT_EQ(fields.output.find(tool), std::string::npos) << tool << " in " << fields.output;
}

TEST(Package, LintianReportsNoErrorsAndNoWarnings) {
    REQUIRE_PACKAGE();
    if (!installed("lintian")) GTEST_SKIP() << "lintian is not installed (apt-get install lintian)";
    const CommandResult report = run({"lintian", "--no-tag-display-limit", kDeb});
    std::istringstream lines(report.output);
    for (std::string text; std::getline(lines, text);) {
        EXPECT_NE(text.rfind("E: ", 0), 0u) << text;
        EXPECT_NE(text.rfind("W: ", 0), 0u) << text;
    }
    EXPECT_EQ(report.status, 0) << report.output;
}

// The unpacked tree's own program, loading the unpacked bundle and reading the unpacked demo,
// renders the same samples as the build tree's program with the build tree's bundle.
TEST(Package, UnpackedPackageRendersTheDemoLikeTheBuildTree) {
    REQUIRE_PACKAGE();
    TempDir temp;
    ASSERT_FALSE(temp.path().empty());
    const fs::path root = temp.path() / "root";
    const CommandResult unpack = run({"dpkg", "-x", kDeb, root.string()});
    ASSERT_EQ(unpack.status, 0) << unpack.output;

    const std::string renderer = (root / "usr/bin/corvane-render").string();
    const CommandResult version = run({renderer, "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "corvane-render " CORVANE_VERSION "\n");

    if (installed("readelf")) {
        for (const fs::path& binary :
             {root / "usr/bin/corvane-render", root / "usr/bin/corvane-host",
              root / "usr/lib/vst3" / kBundleName / "Contents/x86_64-linux/Corvane Synth PCM.so"}) {
            const CommandResult dynamic = run({"readelf", "-d", binary.string()});
            ASSERT_EQ(dynamic.status, 0) << dynamic.output;
            EXPECT_EQ(dynamic.output.find("RPATH"), std::string::npos) << binary << "\n" << dynamic.output;
            EXPECT_EQ(dynamic.output.find("RUNPATH"), std::string::npos) << binary << "\n" << dynamic.output;
        }
    }

    const fs::path packagedBundle = root / "usr/lib/vst3" / kBundleName;
    EXPECT_EQ(readFile(packagedBundle / "Contents/Resources/moduleinfo.json"),
              readFile(fs::path(CORVANE_BUNDLE_PATH) / "Contents/Resources/moduleinfo.json"));

    const auto demoRender = [](const std::string& program, const std::string& bundle, const fs::path& demo,
                               const fs::path& out) {
        std::vector<std::string> args{program, "--plugin", bundle, "--sysex"};
        for (const char* wav :
             {"0=epiano.wav", "1=bass.wav", "2=pad.wav", "3=lead.wav", "8=kick.wav:dpcm", "9=snare.wav",
              "10=hat-closed.wav", "11=hat-open.wav", "12=clap.wav", "13=tom.wav"}) {
            const std::string text(wav);
            const size_t eq = text.find('=');
            args.push_back("--wav");
            args.push_back(text.substr(0, eq + 1) + (demo / text.substr(eq + 1)).string());
        }
        args.insert(args.end(), {"--samples", (demo / "demo-samples.txt").string(),
                                 (demo / "demo-song.mid").string(), out.string()});
        return run(args);
    };
    const fs::path packaged = temp.path() / "packaged.wav";
    const fs::path built = temp.path() / "built.wav";
    const CommandResult fromPackage = demoRender(renderer, packagedBundle.string(),
                                                 root / "usr/share/doc/corvane-synth-pcm/demo", packaged);
    ASSERT_EQ(fromPackage.status, 0) << fromPackage.output;
    const CommandResult fromBuild = demoRender(CORVANE_RENDER_PATH, CORVANE_BUNDLE_PATH,
                                               fs::path(CORVANE_SOURCE_DIR) / "resources/demo", built);
    ASSERT_EQ(fromBuild.status, 0) << fromBuild.output;

    const std::string a = readFile(packaged);
    const std::string b = readFile(built);
    // 38 s of stereo float at 44.1 kHz: several megabytes, and not all silence.
    ASSERT_GT(a.size(), 1000000u);
    EXPECT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b) << "the packaged render differs from the build tree's";
    EXPECT_NE(a.substr(44).find_first_not_of('\0'), std::string::npos);
}

}  // namespace
}  // namespace velt::corvane::test
