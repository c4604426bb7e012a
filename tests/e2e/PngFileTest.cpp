#include "tests/e2e/PngFile.h"

#include <gtest/gtest.h>

namespace velmora::e2e {
namespace {

TEST(PngFileTest, ChecksumsMatchTheirPublishedCheckValues) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Adler32("Wikipedia"), 0x11E60398u);
    EXPECT_EQ(Adler32(""), 1u);
}

std::uint32_t BigEndianAt(const std::string& s, std::size_t pos) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[pos + 3]));
}

TEST(PngFileTest, LargeImageIsSplitIntoStoredBlocksThatAddUpToTheRows) {
    // 200 x 120 pixels make 72120 bytes of rows: more than one stored block can hold.
    const int w = 200, h = 120;
    std::string rgb(static_cast<std::size_t>(w * h * 3), '\0');
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<char>(i * 7);
    }
    const std::string png = EncodePng(w, h, rgb);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndianAt(png, 16), 200u);
    EXPECT_EQ(BigEndianAt(png, 20), 120u);

    const std::size_t idat = 8 + 25;
    ASSERT_EQ(png.substr(idat + 4, 4), "IDAT");
    const std::size_t length = BigEndianAt(png, idat);
    const std::string zlib = png.substr(idat + 8, length);
    EXPECT_EQ(BigEndianAt(png, idat + 8 + length), Crc32("IDAT" + zlib));

    // Walk the blocks and rebuild the rows: each row is a zero filter byte and the pixels as given.
    std::string raw;
    std::size_t pos = 2;
    bool last = false;
    int blocks = 0;
    while (!last) {
        ASSERT_LT(pos + 5, zlib.size());
        last = zlib[pos] == 1;
        const std::size_t n = static_cast<unsigned char>(zlib[pos + 1]) |
                              (static_cast<std::size_t>(static_cast<unsigned char>(zlib[pos + 2])) << 8);
        const std::size_t complement =
            static_cast<unsigned char>(zlib[pos + 3]) |
            (static_cast<std::size_t>(static_cast<unsigned char>(zlib[pos + 4])) << 8);
        ASSERT_EQ(n ^ complement, 0xFFFFu);
        raw += zlib.substr(pos + 5, n);
        pos += 5 + n;
        ++blocks;
    }
    EXPECT_EQ(blocks, 2);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>((w * 3 + 1) * h));
    EXPECT_EQ(BigEndianAt(zlib, pos), Adler32(raw));
    for (int y = 0; y < h; ++y) {
        const std::size_t at = static_cast<std::size_t>(y * (w * 3 + 1));
        ASSERT_EQ(raw[at], '\0');
        ASSERT_EQ(raw.substr(at + 1, w * 3), rgb.substr(static_cast<std::size_t>(y * w * 3), w * 3));
    }
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

TEST(PngFileTest, SizesThatDisagreeWithTheDataGiveNothing) {
    EXPECT_TRUE(EncodePng(2, 2, std::string(11, 'x')).empty());
    EXPECT_TRUE(EncodePng(0, 0, "").empty());
}

}  // namespace
}  // namespace velmora::e2e
