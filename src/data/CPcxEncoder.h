// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The picture the view renders for export: 0x00RRGGBB pixels, row-major, top row first.
struct RgbPicture {
    int width = 800, height = 600;
    std::vector<uint32_t> pixels;
};

// 8-bit run-length PCX (version 5) of an 800 x 600 picture with a palette of the
// colours in order of first appearance.
class CPcxEncoder {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr int kHeaderSize = 128;
    static constexpr int kPaletteEntries = 256;

    // The whole file into out; false, out untouched, unless the picture is 800 x 600.
    static bool Encode(const RgbPicture& picture, std::string& out);

    // Runs of at most 63 equal indices, never past the row's end; a run of one index
    // below 64 is written bare, any other run as 0xC0 | count and the index.
    static void EncodeRow(const uint8_t* row, int width, std::string& out);
};
