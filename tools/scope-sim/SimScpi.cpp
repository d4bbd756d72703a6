// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimScpi.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <random>

#include "SimText.h"

namespace {

constexpr char kOtherMaker[] = "KEITHLEY INSTRUMENTS INC.,MODEL 2000,1234567,A20";

void Little(std::string& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Big(std::string& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Crc32(const std::string& bytes, size_t from)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc ^= static_cast<uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Chunk(std::string& png, const char* type, const std::string& data)
{
    Big(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png += type;
    png += data;
    Big(png, Crc32(png, start));
}

// One word of a header against one of a pattern: the pattern's capitals are the short form,
// the whole word the long one; "<n>" at its end stands for a channel number.
bool WordMatches(const std::string& word, const std::string& pattern, int* channel)
{
    std::string p = pattern, w = word;
    const bool numbered = p.size() > 3 && p.compare(p.size() - 3, 3, "<n>") == 0;
    if (numbered) {
        p.erase(p.size() - 3);
        size_t digits = w.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(w[digits - 1])))
            --digits;
        if (digits == w.size())
            return false;
        if (channel)
            *channel = std::stoi(w.substr(digits));
        w.erase(digits);
    }
    std::string shortForm, longForm;
    for (char c : p) {
        if (std::isupper(static_cast<unsigned char>(c)) || !std::isalpha(static_cast<unsigned char>(c)))
            shortForm += c;
        longForm += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return w == shortForm || w == longForm;
}

}  // namespace

CSimScpiModel::CSimScpiModel(const SimOptions& options) : CSimModel(options), m_bRunning(!options.stopped) {}

SimFrame CSimScpiModel::FrameRequest(const std::string& pending) const
{
    const size_t end = pending.find('\n');
    return end == std::string::npos ? SimFrame {} : SimFrame {end + 1, 1};
}

void CSimScpiModel::Answer(const std::string& request, SimReply& reply)
{
    std::string line = request;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    size_t begin = 0;
    while (begin <= line.size()) {
        size_t end = line.find(';', begin);
        if (end == std::string::npos)
            end = line.size();
        std::string command = Trim(line.substr(begin, end - begin));
        begin = end + 1;
        if (command.empty())
            continue;
        if (command[0] == ':')
            command.erase(0, 1);
        const size_t space = command.find(' ');
        const std::string header = Upper(command.substr(0, space));
        const std::string argument = space == std::string::npos ? std::string() : Trim(command.substr(space + 1));
        if (!Execute(header, argument, reply))
            std::fprintf(stderr, "kiv-scope-sim: %s\n",
                         SimText(KIV_TR_NOOP("kiv-scope-sim", "polecenie spoza podręcznika przyrządu: %1"), {command})
                             .c_str());
    }
}

bool CSimScpiModel::Matches(const std::string& header, const std::string& pattern, int* channel)
{
    std::string h = header, p = pattern;
    if (!h.empty() && h[0] == ':')
        h.erase(0, 1);
    const bool query = !p.empty() && p.back() == '?';
    if (query != (!h.empty() && h.back() == '?'))
        return false;
    if (query) {
        h.pop_back();
        p.pop_back();
    }
    size_t hAt = 0, pAt = 0;
    for (;;) {
        const size_t hEnd = h.find(':', hAt), pEnd = p.find(':', pAt);
        if (!WordMatches(h.substr(hAt, hEnd - hAt), p.substr(pAt, pEnd - pAt), channel))
            return false;
        if ((hEnd == std::string::npos) != (pEnd == std::string::npos))
            return false;
        if (hEnd == std::string::npos)
            return true;
        hAt = hEnd + 1;
        pAt = pEnd + 1;
    }
}

std::string CSimScpiModel::IdentityLine(const std::string& own) const
{
    return (m_options.fault == ESimFault::WrongId ? std::string(kOtherMaker) : own) + "\n";
}

void CSimScpiModel::AppendBlock(SimReply& reply, const std::string& data, const std::string& trailer, int digits)
{
    const ESimFault fault = m_options.fault;
    const bool spoil = !m_bBlockSpoilt;
    std::string length = std::to_string(data.size());
    const size_t width = digits > 0 ? static_cast<size_t>(digits) : length.size();
    length.insert(0, width - std::min(width, length.size()), '0');
    const std::string head = "#" + std::to_string(width);
    if (spoil && fault == ESimFault::Garbage) {
        m_bBlockSpoilt = true;
        std::mt19937 random(7);
        for (size_t i = 0; i < std::max<size_t>(data.size(), 32); ++i)
            reply.bytes += static_cast<char>(random() & 0x7F ? random() & 0xFF : 0x01);
        reply.bytes[0] = '\x02';  // never a "#"
        return;
    }
    if (spoil && fault == ESimFault::BadHeader) {
        m_bBlockSpoilt = true;
        reply.bytes += head + length.substr(2) + data + trailer;  // two digits fewer than it says
        return;
    }
    reply.bytes += head + length;
    if (spoil && fault == ESimFault::ShortBlock) {
        m_bBlockSpoilt = true;
        reply.bytes += data.substr(0, data.size() / 2);
        return;
    }
    reply.bytes += data;
    if (spoil && fault == ESimFault::LongBlock) {
        m_bBlockSpoilt = true;
        reply.bytes += std::string(16, '\x55');
    }
    if (fault != ESimFault::NoTrailer)
        reply.bytes += trailer;
}

double CSimScpiModel::Volts(int channel, double t) const
{
    return SignalAt(ChannelSignal(channel), t);
}

bool CSimScpiModel::ChannelOn(int channel) const
{
    return channel >= 1 && channel <= kSimChannels && !m_options.channelOff[channel - 1];
}

std::vector<uint32_t> CSimScpiModel::Picture(int width, int height, int divisions) const
{
    static constexpr uint32_t kColours[kSimChannels] = {0xFFFF00, 0x00FFFF, 0xFF00FF, 0x3070FF};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0x000000);
    for (int d = 0; d < divisions; ++d)
        for (int y = 0; y < height; ++y)
            pixels[static_cast<size_t>(y) * width + d * width / divisions] = 0x404040;
    for (int y = 0; y < height; y += height / 8)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = 0x404040;
    // Every channel that is on, where the screen's horizontal position puts it.
    for (int channel = kSimChannels; channel >= 1; --channel) {
        if (!ChannelOn(channel))
            continue;
        int last = -1;
        for (int x = 0; x < width; ++x) {
            const double t = m_options.horizontalOffset + (x - width / 2.0) / width * divisions * m_options.secondsPerDivision;
            const double v = Volts(channel, t) / m_options.voltsPerDivision;
            const int y = std::clamp(static_cast<int>(height / 2.0 - v * height / 8.0), 0, height - 1);
            // A vertical stroke to the previous point, as a screen joins its dots.
            for (int yy = std::min(y, last < 0 ? y : last); yy <= std::max(y, last < 0 ? y : last); ++yy)
                pixels[static_cast<size_t>(yy) * width + x] = kColours[channel - 1];
            last = y;
        }
    }
    return pixels;
}

// 24 bits a pixel, rows bottom up, each padded to four bytes.
std::string CSimScpiModel::ScreenBmp(int width, int height, int divisions) const
{
    const std::vector<uint32_t> pixels = Picture(width, height, divisions);
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    Little(bmp, static_cast<uint32_t>(54 + row * height), 4);
    Little(bmp, 0, 4);
    Little(bmp, 54, 4);
    Little(bmp, 40, 4);
    Little(bmp, static_cast<uint32_t>(width), 4);
    Little(bmp, static_cast<uint32_t>(height), 4);
    Little(bmp, 1, 2);
    Little(bmp, 24, 2);
    for (int i = 0; i < 6; ++i)
        Little(bmp, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            bmp += static_cast<char>(p & 0xFF);
            bmp += static_cast<char>((p >> 8) & 0xFF);
            bmp += static_cast<char>((p >> 16) & 0xFF);
        }
        bmp.append(static_cast<size_t>(row - width * 3), '\0');
    }
    return bmp;
}

// An RGB PNG whose zlib stream holds stored (uncompressed) blocks: valid, if not small.
std::string CSimScpiModel::ScreenPng(int width, int height, int divisions) const
{
    const std::vector<uint32_t> pixels = Picture(width, height, divisions);
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw += static_cast<char>((p >> 16) & 0xFF);
            raw += static_cast<char>((p >> 8) & 0xFF);
            raw += static_cast<char>(p & 0xFF);
        }
    }
    std::string z = "\x78\x01";
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z += static_cast<char>(at + n == raw.size() ? 1 : 0);
        Little(z, static_cast<uint32_t>(n), 2);
        Little(z, static_cast<uint32_t>(~n & 0xFFFF), 2);
        z.append(raw, at, n);
    }
    uint32_t a = 1, b = 0;
    for (char c : raw) {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    Big(z, (b << 16) | a);
    std::string header;
    Big(header, static_cast<uint32_t>(width));
    Big(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}
