#include <gtest/gtest.h>

#include <cstdlib>

#include "data/CPcxEncoder.h"
#include "support/TestFiles.h"

namespace {

std::string Encoded(const RgbPicture& picture) {
    std::string file;
    EXPECT_TRUE(CPcxEncoder::Encode(picture, file));
    return file;
}

RgbPicture Filled(uint32_t rgb) { return {800, 600, std::vector<uint32_t>(800 * 600, rgb)}; }

}  // namespace

TEST(PcxEncoder, RunLengthRows) {
    auto Row = [](const std::vector<uint8_t>& indices, std::string out = {}) {
        CPcxEncoder::EncodeRow(indices.data(), static_cast<int>(indices.size()), out);
        return out;
    };
    std::string expected;
    for (int i = 0; i < 12; ++i) expected += "\xFF\x05";
    EXPECT_EQ(Row(std::vector<uint8_t>(800, 5)), expected + "\xEC\x05");
    // A lone index is bare only below 64; 64, 192 and 200 get a count byte.
    EXPECT_EQ(Row({7, 64, 192, 192, 63, 200}), "\x07\xC1\x40\xC2\xC0\x3F\xC1\xC8");
    std::vector<uint8_t> runs(64, 9);
    runs.push_back(0);
    EXPECT_EQ(Row(runs), std::string("\xFF\x09\x09\x00", 4));
}

// 256 colours (v, 0x34, 0x56) fill the palette; a 257th, (200, 0x34, 0x57), takes the
// nearest entry, 200.
TEST(PcxEncoder, HeaderPaletteAndLayout) {
    RgbPicture picture = Filled(0x003456);
    for (uint32_t v = 0; v < 256; ++v) picture.pixels[v] = v << 16 | 0x3456;
    picture.pixels[300] = 0xC83457;
    const std::string file = Encoded(picture);
    const unsigned char fixed[] = {
        0x0A, 5, 1, 8, 0, 0, 0, 0, 0x1F, 0x03, 0x57, 0x02, 0x20, 0x03, 0x58, 0x02,
        0x00, 0x00, 0x00, 0xd8, 0x98, 0x38, 0x78, 0x74, 0x04, 0x70, 0x6c, 0x04, 0xec, 0xac, 0x4c, 0xf8,
        0xc4, 0x80, 0x40, 0x24, 0x24, 0x24, 0x28, 0x14, 0xf8, 0xbc, 0x68, 0xd4, 0x90, 0x9c, 0x3c, 0x24,
        0x24, 0x74, 0x70, 0x08, 0x78, 0x74, 0x08, 0x7c, 0x78, 0x08, 0x34, 0x30, 0x04, 0xf0, 0xc4, 0x88, 0, 1, 0x20, 0x03};
    EXPECT_EQ(file.substr(0, 128), std::string(reinterpret_cast<const char*>(fixed), sizeof fixed) + std::string(60, '\0'));
    // Row 0: indices 0..63 bare, 64..255 with a count (448 bytes), 44 zeros, 200, then
    // 499 zeros in 8 runs; every other row 13 runs. No run crosses a row's end.
    EXPECT_EQ(file.substr(128 + 448, 4), std::string("\xEC\x00\xC1\xC8", 4));
    ASSERT_EQ(file.size(), 128 + 448 + 4 + 16 + 599 * 26 + 1 + 768u);
    std::string palette = "\x0C";
    for (int v = 0; v < 256; ++v) palette += {static_cast<char>(v), '\x34', '\x56'};
    EXPECT_EQ(file.substr(file.size() - 769), palette);
}

TEST(PcxEncoder, ImageMagickReadsOurFile) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is missing (scripts/setup installs it)";
    RgbPicture picture = Filled(0);  // 240 colours: runs of three, lone pixels, indices above 192
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint32_t c = (x * 7 + y) % 11 ? ((x / 3) * 13 + y * 7) % 240 : (x + y) % 240;
            picture.pixels[y * 800 + x] = c << 16 | (255 - c) << 8 | ((c * 37) & 0xFF);
        }
    const std::string dir = TestDir("pcx-magick");
    WriteBytes(dir + "/out.pcx", Encoded(picture));
    ASSERT_EQ(std::system(("cd '" + dir + "' && convert out.pcx -depth 8 rgb:out.rgb").c_str()), 0);
    const std::vector<uint8_t> rgb = FileBytes(dir + "/out.rgb");
    ASSERT_EQ(rgb.size(), 800u * 600 * 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        ASSERT_EQ(static_cast<uint32_t>(rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2]), picture.pixels[i]) << i;
}
