// PNG files as the frame tool, the desktop icons and the screenshots write
// them, read back through libpng.

#include <png.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/png_file.h"

namespace {

struct ReadBack {
    bool ok = false;
    bool hasAlpha = false;
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

ReadBack ReadPng(const std::string& path) {
    ReadBack result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    result.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    image.format = PNG_FORMAT_RGBA;
    result.rgba.resize(PNG_IMAGE_SIZE(image));
    result.ok = png_image_finish_read(&image, nullptr, result.rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return result;
}

std::string ScratchPath(const char* name) {
    return ::testing::TempDir() + "quadrafall_png_" + std::to_string(getpid()) + "_" + name;
}

// Three columns of distinct red, green and blue bytes over two rows, so a
// swapped channel, a mirrored row or a row taken twice all show.
const uint32_t Pixels[6] = {0x00030201, 0x00FFFFFF, 0x00804020, 0x00000000, 0x00102030, 0x00C0B0A0};
const uint8_t SomeTransparent[6] = {1, 0, 1, 1, 0, 1};

struct Case {
    const char* name;
    const uint8_t* opaque;
};

TEST(PngFile, PixelsComeBackAsWrittenWithTransparencyOnlyWhenAsked) {
    const Case cases[] = {{"opaque.png", nullptr}, {"transparent.png", SomeTransparent}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = ScratchPath(c.name);
        std::string error;
        ASSERT_TRUE(WritePng(path.c_str(), {Pixels, 3, 2, c.opaque}, error)) << error;
        const ReadBack back = ReadPng(path);
        std::remove(path.c_str());
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.width, 3);
        EXPECT_EQ(back.height, 2);
        EXPECT_EQ(back.hasAlpha, c.opaque != nullptr);
        for (int i = 0; i < 6; ++i) {
            const uint32_t colour = back.rgba[4 * i] | (back.rgba[4 * i + 1] << 8) | (back.rgba[4 * i + 2] << 16);
            EXPECT_EQ(colour, Pixels[i]) << "pixel " << i;
            EXPECT_EQ(back.rgba[4 * i + 3], c.opaque == nullptr || c.opaque[i] ? 255 : 0) << "pixel " << i;
        }
    }
}

TEST(PngFile, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    const std::string missingDirectory = ScratchPath("no_such_directory") + "/frame.png";
    const std::string path = ScratchPath("empty.png");
    std::string error;
    EXPECT_FALSE(WritePng(missingDirectory.c_str(), {Pixels, 3, 2, nullptr}, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(WritePng(path.c_str(), {Pixels, 0, 2, nullptr}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

}  // namespace
