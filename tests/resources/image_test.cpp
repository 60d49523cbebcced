#include "resources/image.h"

#include "archive_writer.h"
#include "canvas.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

namespace {

struct NamedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Packs the files into an archive in a temporary folder and opens it.
class ImageTest : public testing::Test {
  protected:
    TempDir dir;
    PackArchive archive;

    void pack(const std::vector<NamedFile>& files) {
        ArchiveWriter writer;
        std::string directoryText;
        for (const NamedFile& file : files) {
            StoredBlob blob;
            ASSERT_TRUE(writer.addBlob(file.bytes.data(), file.bytes.size(), blob));
            directoryText += directoryLine(file.name, blob);
        }
        ASSERT_TRUE(writer.finish(directoryText));
        writeFileBytes(dir.file("interface.qar"), writer.bytes);
        ASSERT_TRUE(archive.open(dir.file("interface.qar").c_str()));
    }
};

std::vector<uint8_t> png(int32_t width, int32_t height, int32_t channels,
                         const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(encodePng(pixels.data(), width, height, channels, bytes));
    return bytes;
}

std::vector<uint32_t> pixelsOf(const Image& image) {
    return std::vector<uint32_t>(image.pixels.get(),
                                 image.pixels.get() + static_cast<size_t>(image.width) *
                                                          static_cast<size_t>(image.height));
}

// An image that already holds a picture, to see what a failed load leaves.
void fillWithOnePixel(Image& image) {
    image.width = 1;
    image.height = 1;
    image.pixels = std::make_unique<uint32_t[]>(1);
    image.pixels[0] = 0xFF123456u;
}

TEST_F(ImageTest, PicturesArriveInTheFramesPixelFormat) {
    struct Case {
        const char* name;
        int32_t width, height, channels;
        std::vector<uint8_t> filePixels;
        std::vector<uint32_t> expected;
    };
    const std::vector<Case> cases = {
        {"red.png", 1, 1, 4, {255, 0, 0, 255}, {0xFFFF0000u}},
        {"no_alpha.png", 2, 1, 3, {10, 20, 30, 40, 50, 60}, {0xFF0A141Eu, 0xFF28323Cu}},
        {"grey.png", 2, 1, 1, {0x80, 0x00}, {0xFF808080u, 0xFF000000u}},
        {"grey_alpha.png", 1, 1, 2, {0x40, 0x00}, {0x00404040u}},
        {"transparent.png", 1, 1, 4, {0x12, 0x34, 0x56, 0x00}, {0x00123456u}},
        {"rows.png",
         2,
         2,
         4,
         {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 1, 2, 3, 4},
         {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x04010203u}},
    };
    std::vector<NamedFile> files;
    for (const Case& c : cases) {
        files.push_back({c.name, png(c.width, c.height, c.channels, c.filePixels)});
    }
    pack(files);
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(loadImage(archive, image, c.name)) << c.name;
        EXPECT_EQ(image.width, c.width) << c.name;
        EXPECT_EQ(image.height, c.height) << c.name;
        EXPECT_EQ(pixelsOf(image), c.expected) << c.name;
    }

    // In memory a pixel is blue, green, red, alpha.
    Image red;
    ASSERT_TRUE(loadImage(archive, red, "red.png"));
    const auto* bytes = reinterpret_cast<const uint8_t*>(red.pixels.get());
    if constexpr (std::endian::native == std::endian::little) {
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{0, 0, 255, 255}));
    }
}

TEST_F(ImageTest, AMissingNameLeavesTheImageAsItWas) {
    pack({{"red.png", png(1, 1, 4, {255, 0, 0, 255})}});
    Image image;
    fillWithOnePixel(image);
    EXPECT_FALSE(loadImage(archive, image, "blue.png"));
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(pixelsOf(image), std::vector<uint32_t>{0xFF123456u});
}

// A 1x1 24-bit BMP holding one red pixel, a format that stb_image reads when all its
// decoders are compiled in.
std::vector<uint8_t> bmp() {
    std::vector<uint8_t> file(58, 0);
    auto put = [&file](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, 58, 4);  // file size
    put(10, 54, 4); // pixel offset
    put(14, 40, 4); // info header size
    put(18, 1, 4);  // width
    put(22, 1, 4);  // height
    put(26, 1, 2);  // planes
    put(28, 24, 2); // bits per pixel
    put(34, 4, 4);  // pixel bytes
    file[56] = 255; // blue, green, red: red
    return file;
}

std::vector<uint8_t> blankPicture(int32_t width, int32_t height) {
    return png(width, height, 1,
               std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height)));
}

TEST_F(ImageTest, FilesThatAreNoAllowedPictureLeaveTheImageEmpty) {
    const std::string text = "info face=\"c64\" size=8\n";
    pack({{"text.png", std::vector<uint8_t>(text.begin(), text.end())},
          {"picture.bmp", bmp()},
          {"wide.png", blankPicture(8193, 1)},
          {"tall.png", blankPicture(1, 8193)},
          {"widest.png", blankPicture(8192, 1)}});
    for (const char* name : {"text.png", "picture.bmp", "wide.png", "tall.png"}) {
        Image image;
        fillWithOnePixel(image);
        EXPECT_FALSE(loadImage(archive, image, name)) << name;
        EXPECT_EQ(image.width, 0) << name;
        EXPECT_EQ(image.height, 0) << name;
        EXPECT_EQ(image.pixels, nullptr) << name;
    }
    Image widest;
    EXPECT_TRUE(loadImage(archive, widest, "widest.png")) << "8192 pixels on a side are fine";
    EXPECT_EQ(widest.width, 8192);
}

// The build's own archive, beside the tests' working directory: every picture in it loads.
TEST(BuiltInterfaceArchive, EveryPictureLoads) {
    PackArchive archive;
    ASSERT_TRUE(archive.open("interface.qar"));
    int32_t pictures = 0;
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        const std::string name = utf8Of(archive.directory.pairs[i].key);
        if (name.ends_with(".png")) {
            Image image;
            EXPECT_TRUE(loadImage(archive, image, name.c_str())) << name;
            ++pictures;
        }
    }
    EXPECT_GT(pictures, 0);
}

} // namespace
