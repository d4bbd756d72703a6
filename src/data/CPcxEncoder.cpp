// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CPcxEncoder.h"

#include <unordered_map>

namespace {

// The 16-colour header palette every file of ours carries (the real palette follows the data).
const uint8_t kHeaderPalette[48] = {
    0x00, 0x00, 0x00, 0xd8, 0x98, 0x38, 0x78, 0x74, 0x04, 0x70, 0x6c, 0x04, 0xec, 0xac, 0x4c, 0xf8,
    0xc4, 0x80, 0x40, 0x24, 0x24, 0x24, 0x28, 0x14, 0xf8, 0xbc, 0x68, 0xd4, 0x90, 0x9c, 0x3c, 0x24,
    0x24, 0x74, 0x70, 0x08, 0x78, 0x74, 0x08, 0x7c, 0x78, 0x08, 0x34, 0x30, 0x04, 0xf0, 0xc4, 0x88,
};

void Put16(std::string& out, size_t at, int v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

// Colours in order of first appearance. A 257th colour has no byte of its own: it
// takes the nearest entry (squared RGB distance, the earlier entry on a tie).
class CPalette {
public:
    uint8_t IndexOf(uint32_t pixel) {
        const uint32_t rgb = pixel & 0xFFFFFF;  // a 32-bit image may carry alpha in the top byte
        const auto hit = m_lookup.find(rgb);
        if (hit != m_lookup.end()) return hit->second;
        uint8_t index;
        if (m_colours.size() < CPcxEncoder::kPaletteEntries) {
            index = static_cast<uint8_t>(m_colours.size());
            m_colours.push_back(rgb);
        } else {
            index = Nearest(rgb);
        }
        m_lookup.emplace(rgb, index);
        return index;
    }
    const std::vector<uint32_t>& Colours() const { return m_colours; }

private:
    uint8_t Nearest(uint32_t rgb) const {
        long best = -1;
        uint8_t index = 0;
        for (size_t i = 0; i < m_colours.size(); ++i) {
            long d = 0;
            for (int shift : {16, 8, 0}) {
                const long c = Channel(rgb, shift) - Channel(m_colours[i], shift);
                d += c * c;
            }
            if (best < 0 || d < best) {
                best = d;
                index = static_cast<uint8_t>(i);
            }
        }
        return index;
    }
    std::vector<uint32_t> m_colours;
    std::unordered_map<uint32_t, uint8_t> m_lookup;
};

}  // namespace

void CPcxEncoder::EncodeRow(const uint8_t* row, int width, std::string& out) {
    int x = 0;
    while (x < width) {
        const uint8_t b = row[x];
        int count = 1;
        while (count < 63 && x + count < width && row[x + count] == b) ++count;
        if (count > 1 || (b & 0xC0) != 0) out += static_cast<char>(0xC0 | count);
        out += static_cast<char>(b);
        x += count;
    }
}

bool CPcxEncoder::Encode(const RgbPicture& picture, std::string& out) {
    if (picture.width != kWidth || picture.height != kHeight ||
        picture.pixels.size() != static_cast<size_t>(kWidth) * kHeight)
        return false;

    CPalette palette;
    std::vector<uint8_t> indices(picture.pixels.size());
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = palette.IndexOf(picture.pixels[i]);

    std::string file(kHeaderSize, '\0');
    file[0] = 0x0A;  // manufacturer
    file[1] = 5;     // version
    file[2] = 1;     // run-length encoded
    file[3] = 8;     // bits per pixel
    Put16(file, 8, kWidth - 1);
    Put16(file, 10, kHeight - 1);
    Put16(file, 12, kWidth);  // the resolution fields hold the picture's size
    Put16(file, 14, kHeight);
    file.replace(16, sizeof kHeaderPalette, reinterpret_cast<const char*>(kHeaderPalette), sizeof kHeaderPalette);
    file[65] = 1;  // colour planes
    Put16(file, 66, kWidth);  // bytes per line

    file.reserve(kHeaderSize + 2 * indices.size() + 1 + 3 * kPaletteEntries);
    for (int y = 0; y < kHeight; ++y) EncodeRow(&indices[static_cast<size_t>(y) * kWidth], kWidth, file);
    file += '\x0C';  // palette marker
    std::string rgb(3 * kPaletteEntries, '\0');  // unused entries stay zero
    const std::vector<uint32_t>& colours = palette.Colours();
    for (size_t i = 0; i < colours.size(); ++i) {
        rgb[3 * i] = static_cast<char>(Channel(colours[i], 16));
        rgb[3 * i + 1] = static_cast<char>(Channel(colours[i], 8));
        rgb[3 * i + 2] = static_cast<char>(Channel(colours[i], 0));
    }
    file += rgb;
    out.swap(file);
    return true;
}
