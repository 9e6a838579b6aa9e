// The files a text/uri-list names, as file managers hand them over in a drag.
#include "gui/lib/uri_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> paths(const std::string& list) {
    const VSTGUI::DroppedFiles files = VSTGUI::filesFromUriList(list.data(), list.size());
    EXPECT_EQ(files.local, !files.paths.empty());
    return files.paths;
}

TEST(UriList, LocalFilesAreDecodedAndAnyOtherEntryRefusesTheWholeList) {
    using P = std::vector<std::string>;
    EXPECT_EQ(paths("# dragged\r\nfile:///tmp/a.wav\r\n\r\nfile://localhost/tmp/My%20Kick%2523.wav\r\n"),
              (P{"/tmp/a.wav", "/tmp/My Kick%23.wav"}));
    // Upper-case scheme and host, UTF-8 escapes, bare LF, no last line end, a counted NUL.
    EXPECT_EQ(paths(std::string("FILE://LocalHost/x/%C3%A9t%C3%A9.wav\nfile:/y.wav\0", 49)),
              (P{"/x/\xC3\xA9t\xC3\xA9.wav", "/y.wav"}));
    EXPECT_EQ(paths(""), P{});
    EXPECT_EQ(paths("# only a comment\r\n"), P{});
    for (const char* bad : {"http://example.org/a.wav", "file://otherhost/tmp/a.wav", "file:relative.wav",
                            "file://", "file:///tmp/a%2", "file:///tmp/a%zz.wav", "file:///tmp/a%00.wav",
                            "file:///tmp/a.wav?x=1", "file:///tmp/a#b.wav", "/tmp/a.wav"})
        EXPECT_EQ(paths(std::string("file:///tmp/good.wav\r\n") + bad + "\r\n"), P{}) << bad;
}

}  // namespace
