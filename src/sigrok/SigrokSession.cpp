// SPDX-License-Identifier: GPL-3.0-or-later
#include "sigrok/SigrokSession.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "data/CData.h"
#include "data/CDataSrc.h"

namespace {

constexpr char kVersion[] = "2";
constexpr zip_uint64_t kMetadataLimit = 1 << 20;  // a metadata file is a few lines

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipFile = std::unique_ptr<zip_file_t, FileCloser>;

void PutFloat(std::string& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

float GetFloat(const unsigned char* p) {
    const uint32_t bits = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

// A whole member of at most limit bytes; none when missing, larger or unreadable.
std::optional<std::string> ReadMember(zip_t* z, const char* name, zip_uint64_t limit) {
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || st.size > limit) return std::nullopt;
    ZipFile f(zip_fopen(z, name, 0));
    if (!f) return std::nullopt;
    std::string text(st.size, '\0');
    if (zip_fread(f.get(), text.data(), st.size) != static_cast<zip_int64_t>(st.size)) return std::nullopt;
    return text;
}

std::string Trim(std::string s) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && space(s.back())) s.pop_back();
    size_t start = 0;
    while (start < s.size() && space(s[start])) ++start;
    return s.substr(start);
}

// The key = value lines of the first "device" section.
std::map<std::string, std::string> DeviceSection(const std::string& metadata) {
    std::map<std::string, std::string> keys;
    bool inDevice = false, seenDevice = false;
    size_t start = 0;
    while (start <= metadata.size()) {
        size_t end = metadata.find_first_of("\r\n", start);
        if (end == std::string::npos) end = metadata.size();
        const std::string line = Trim(metadata.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            inDevice = !seenDevice && line.compare(1, 7, "device ") == 0;
            seenDevice = seenDevice || inDevice;
            continue;
        }
        const size_t eq = line.find('=');
        if (inDevice && eq != std::string::npos) keys[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
    }
    return keys;
}

// "200 kHz", "4000", "1.5 MHz": hertz, or 0 when the text is no rate.
double ParseRate(const std::string& text) {
    size_t used = 0;
    double v = 0;
    try {
        v = std::stod(text, &used);
    } catch (...) {
        return 0;
    }
    std::string unit = Trim(text.substr(used));
    if (unit.size() >= 2 && unit.compare(unit.size() - 2, 2, "Hz") == 0) unit.resize(unit.size() - 2);
    unit = Trim(unit);
    static const std::map<std::string, double> kPrefixes = {{"", 1}, {"k", 1e3}, {"M", 1e6}, {"G", 1e9}, {"T", 1e12}};
    const auto prefix = kPrefixes.find(unit);
    if (prefix == kPrefixes.end()) return 0;
    v *= prefix->second;
    return std::isfinite(v) && v > 0 ? v : 0;
}

std::string ChunkName(int channel, int chunk) {
    return "analog-1-" + std::to_string(channel) + "-" + std::to_string(chunk);
}

// Adds a member from bytes that live until the archive is closed.
bool AddMember(zip_t* z, const char* name, const std::string& bytes, bool stored) {
    zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
    if (!source) return false;
    const zip_int64_t index = zip_file_add(z, name, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return !stored || zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0;
}

}  // namespace

bool WriteSigrokSession(const CData& mode, std::string& out) {
    const int mask = mode.GetPlotMask();
    if (mask == 0) return false;
    const double dt = ScalePower(mode.m_scaleX) * mode.m_scaleX.step;
    // sigrok counts whole hertz: the nearest, at least one.
    const double rate = std::max(1.0, std::round(1 / dt));
    if (!(dt > 0) || !std::isfinite(rate)) return false;
    const bool both = mode.BothPlotsOn();
    std::vector<std::string> names{both || mask == 1 ? "CH1" : "CH2"};
    if (both) names.push_back("CH2");
    std::vector<std::string> data(names.size());
    for (size_t c = 0; c < names.size(); ++c) {
        const int32_t* codes = c ? mode.m_nCalc2 : mode.m_nCalc1;
        const AxisScale& y = c ? mode.m_scaleY2 : mode.m_scaleY1;
        const double p = ScalePower(y), s = y.step;
        data[c].reserve(kSamples * 4);
        for (int i = 0; i < kSamples; ++i) PutFloat(data[c], static_cast<float>((codes[i] - 100.0) * p * s));
    }
    std::string metadata = "[device 1]\nsamplerate=" +
                           std::to_string(static_cast<unsigned long long>(rate)) + "\ntotal analog=" +
                           std::to_string(names.size()) + "\n";
    for (size_t c = 0; c < names.size(); ++c) metadata += "analog" + std::to_string(c + 1) + "=" + names[c] + "\n";

    // The archive is made in memory; the caller writes the file whole or not at all.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer) return false;
    zip_source_keep(buffer);
    zip_t* z = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    bool ok = z != nullptr;
    const std::string version = kVersion;
    std::vector<std::string> chunkNames;
    for (size_t c = 0; c < names.size(); ++c) chunkNames.push_back(ChunkName(static_cast<int>(c + 1), 1));
    if (ok) {
        ok = AddMember(z, "version", version, true) && AddMember(z, "metadata", metadata, false);
        for (size_t c = 0; ok && c < names.size(); ++c) ok = AddMember(z, chunkNames[c].c_str(), data[c], false);
        if (ok) ok = zip_close(z) == 0;
        else zip_discard(z);
    }
    if (ok && zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(buffer);
        zip_source_seek(buffer, 0, SEEK_SET);
        std::string bytes(static_cast<size_t>(std::max<zip_int64_t>(size, 0)), '\0');
        ok = size > 0 && zip_source_read(buffer, bytes.data(), bytes.size()) == size;
        zip_source_close(buffer);
        if (ok) out += bytes;
    } else {
        ok = false;
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return ok;
}

namespace {

// The archive of a source, which it takes over; null (and the source freed) when it is
// no zip archive.
Zip OpenArchive(zip_source_t* source, zip_error_t& error) {
    if (!source) return nullptr;
    Zip z(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!z) zip_source_free(source);
    return z;
}

int ReadSession(CDataSrc& src, Zip z, int plot, const std::string& channel) {
    if (!z) return 0;
    const auto version = ReadMember(z.get(), "version", 16);
    const auto metadata = ReadMember(z.get(), "metadata", kMetadataLimit);
    if (!version || Trim(*version) != kVersion || !metadata) return 0;
    const auto keys = DeviceSection(*metadata);
    const auto rateKey = keys.find("samplerate");
    const double rate = rateKey == keys.end() ? 0 : ParseRate(rateKey->second);
    if (rate == 0) return 0;
    // analogN = name; the first channel is the lowest N.
    int index = -1;
    for (const auto& [key, value] : keys) {
        if (key.rfind("analog", 0) != 0 || key.size() <= 6 || key.size() > 12 ||
            key.find_first_not_of("0123456789", 6) != std::string::npos)
            continue;
        const int n = std::stoi(key.substr(6));
        if ((channel.empty() || value == channel) && n > 0 && (index < 0 || n < index)) index = n;
    }
    if (index < 0) return 0;

    // The channel's chunks in order; their sizes give the number of samples.
    std::vector<zip_uint64_t> chunks, sizes;
    zip_uint64_t bytes = 0;
    for (int chunk = 1;; ++chunk) {
        zip_stat_t st;
        if (zip_stat(z.get(), ChunkName(index, chunk).c_str(), 0, &st) != 0) break;
        if (!(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_INDEX) || st.size % 4 != 0) return 0;
        chunks.push_back(st.index);
        sizes.push_back(st.size);
        bytes += st.size;
    }
    const zip_uint64_t n = bytes / 4;
    if (n == 0 || n > (zip_uint64_t{1} << 50)) return 0;

    // One pass over the samples, keeping sample floor(i n / 4000) for each i.
    std::array<double, kSamples> values;
    int next = 0;
    zip_uint64_t at = 0;
    unsigned char buffer[1 << 16];
    for (size_t c = 0; c < chunks.size() && next < kSamples; ++c) {
        ZipFile f(zip_fopen_index(z.get(), chunks[c], 0));
        if (!f) return 0;
        zip_uint64_t left = sizes[c];
        while (left > 0 && next < kSamples) {
            const zip_int64_t got = zip_fread(f.get(), buffer, std::min<zip_uint64_t>(left, sizeof buffer));
            if (got <= 0 || got % 4 != 0) return 0;  // shorter than the archive says, or damaged
            left -= static_cast<zip_uint64_t>(got);
            for (zip_int64_t k = 0; k < got; k += 4, ++at)
                while (next < kSamples && static_cast<zip_uint64_t>(next) * n / kSamples == at) {
                    const float v = GetFloat(buffer + k);
                    if (!std::isfinite(v)) return 0;
                    values[static_cast<size_t>(next++)] = v;
                }
        }
    }
    if (next < kSamples) return 0;
    // A rate near the smallest double makes the record last longer than any time step holds.
    const double timeStep = static_cast<double>(n) / (kSamples * rate);
    // The floats are measurements, not an instrument's codes: each goes to the nearest code.
    return std::isfinite(timeStep) ? src.StoreMeasured(values.data(), timeStep, plot, true) : 0;
}

}  // namespace

// A file goes through libzip's file source rather than being read whole: a long capture is
// streamed chunk by chunk, never held in memory.
int ReadSigrokSession(CDataSrc& src, const std::string& path, int plot, const std::string& channel) {
    zip_error_t error;
    zip_error_init(&error);
    Zip z = OpenArchive(zip_source_file_create(path.c_str(), 0, 0, &error), error);
    zip_error_fini(&error);
    return ReadSession(src, std::move(z), plot, channel);
}

int ReadSigrokSessionBytes(CDataSrc& src, std::span<const uint8_t> bytes, int plot, const std::string& channel) {
    zip_error_t error;
    zip_error_init(&error);
    Zip z = OpenArchive(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error), error);
    zip_error_fini(&error);
    return ReadSession(src, std::move(z), plot, channel);
}
