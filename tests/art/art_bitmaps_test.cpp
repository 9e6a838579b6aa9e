// The generator draws all eight bitmaps at their sizes, with distinct button frames, printed
// labels where the rows are and light wells under the text controls; the committed files
// in resources/art/ are what it draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/art/png_image.h"
#include "tools/corvane-make-art/art_catalog.h"
#include "tools/corvane-make-art/page_layouts.h"

namespace velt::corvane::arttest {
namespace {

using art::FieldKind;

const std::string kFreshDir = std::string(CORVANE_BINARY_DIR) + "/art-test-output";
const std::string kSheet = std::string(CORVANE_BINARY_DIR) + "/art-contact-sheet.png";
const std::string kCommittedDir = std::string(CORVANE_SOURCE_DIR) + "/resources/art";

class ArtBitmaps : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::error_code ec;
        std::filesystem::remove_all(kFreshDir, ec);
        const std::string command =
            std::string("\"") + CORVANE_MAKE_ART + "\" \"" + kFreshDir + "\" --sheet \"" + kSheet + "\"";
        exitCode = std::system(command.c_str());
    }
    static std::string fresh(const char* file) { return kFreshDir + "/" + file; }
    static int exitCode;
};
int ArtBitmaps::exitCode = -1;

struct Expected {
    const char* file;
    int width;
    int height;
};

TEST_F(ArtBitmaps, GeneratorWritesEveryBitmapAtItsSize) {
    ASSERT_EQ(exitCode, 0);
    const Expected expected[] = {
        {"bg0.png", 528, 240}, {"bg1.png", 528, 216}, {"bg2.png", 528, 216}, {"bg3.png", 528, 152},
        {"knob0.png", 10, 22}, {"menu.png", 28, 40},  {"logo.png", 528, 92}, {"libLogo.png", 260, 700},
    };
    ASSERT_EQ(sizeof(art::kBitmaps) / sizeof(art::kBitmaps[0]), 8u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.file);
        PngImage image(fresh(e.file));
        ASSERT_TRUE(image.ok());
        EXPECT_EQ(image.width(), e.width);
        EXPECT_EQ(image.height(), e.height);
    }
    EXPECT_TRUE(PngImage(kSheet).ok());
}

TEST_F(ArtBitmaps, PressedFramesDifferFromNormalOnes) {
    ASSERT_EQ(exitCode, 0);
    for (const art::BitmapEntry& entry : art::kBitmaps) {
        if (entry.frames != 2) continue;
        SCOPED_TRACE(entry.file);
        PngImage image(fresh(entry.file));
        ASSERT_TRUE(image.ok());
        const int half = image.height() / 2;
        long differing = 0;
        for (int y = 0; y < half; ++y) {
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixel(x, y) != image.pixel(x, y + half);
        }
        EXPECT_GT(differing, static_cast<long>(image.width()) * half / 20);
    }
}

// Dark ink within each label's box, and a light surface where the editor writes its own text.
TEST_F(ArtBitmaps, LabelsArePrintedAndControlWellsAreLight) {
    ASSERT_EQ(exitCode, 0);
    for (const art::PageLayout& page : art::kPages) {
        SCOPED_TRACE(page.file);
        PngImage image(fresh(page.file));
        ASSERT_TRUE(image.ok());
        ASSERT_EQ(image.height(), page.height);
        for (std::size_t i = 0; i < page.rowCount; ++i) {
            const art::FieldRow& row = page.rows[i];
            SCOPED_TRACE(std::string(row.label) + " at y " + std::to_string(row.y));
            if (std::strlen(row.label) > 0) {
                int ink = 0;
                for (int y = row.y + 2; y < row.y + 22; ++y) {
                    for (int x = row.x + 1; x < art::labelRight(page, row); ++x)
                        ink += image.luminance(x, y) < 110;
                }
                EXPECT_GE(ink, 12);
            }
            if (row.kind == FieldKind::Slider) continue;
            const art::Box b = art::controlBox(row);
            double sum = 0;
            int count = 0;
            for (int y = b.top + 3; y < b.bottom - 3; ++y) {
                for (int x = b.left + 3; x < b.right - 3; ++x, ++count) sum += image.luminance(x, y);
            }
            ASSERT_GT(count, 0);
            EXPECT_GT(sum / count, 215.0);
        }
    }
}

// The cairo version that drew the committed files, as README.txt records it ("cairo 1.16.0").
std::string committedCairoVersion() {
    std::ifstream in(kCommittedDir + "/README.txt");
    std::string word, previous;
    while (in >> word) {
        if (previous == "cairo") return word;
        previous = word;
    }
    return "";
}

// With the cairo that drew them the committed files must come out exactly; other versions
// may move pixels a little, so then only a tolerant comparison is made.
TEST_F(ArtBitmaps, CommittedBitmapsMatchFreshOnes) {
    ASSERT_EQ(exitCode, 0);
    const bool exact = committedCairoVersion() == cairo_version_string();
    for (const art::BitmapEntry& entry : art::kBitmaps) {
        SCOPED_TRACE(entry.file);
        PngImage committed(kCommittedDir + "/" + entry.file);
        PngImage drawn(fresh(entry.file));
        ASSERT_TRUE(committed.ok());
        ASSERT_TRUE(drawn.ok());
        ASSERT_EQ(committed.width(), drawn.width());
        ASSERT_EQ(committed.height(), drawn.height());
        EXPECT_EQ(committed.hasAlpha(), drawn.hasAlpha());
        long differing = 0;
        double total = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const uint32_t a = committed.pixel(x, y), b = drawn.pixel(x, y);
                differing += a != b;
                for (int shift = 0; shift < 32; shift += 8) {
                    total += std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                      static_cast<int>((b >> shift) & 0xFF));
                }
            }
        }
        if (exact) {
            EXPECT_EQ(differing, 0) << "regenerate resources/art/ with corvane-make-art";
        } else {
            EXPECT_LT(total / (4.0 * drawn.width() * drawn.height()), 4.0) << "regenerate resources/art/";
        }
    }
}

}  // namespace
}  // namespace velt::corvane::arttest
