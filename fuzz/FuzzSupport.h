// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every fuzz target shares: a failure that stops the run, a scratch folder for the code
// that only takes a path, the readers on bytes, and what every document they give must pass.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "analysis/ModeTable.h"
#include "data/CArchive.h"
#include "data/CExport.h"
#include "document/CKivDoc.h"
#include "sigrok/SigrokSession.h"
#include "support/DocumentUse.h"
#include "support/FakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A broken invariant: libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// One folder per process (libFuzzer's -jobs runs several), in memory when /dev/shm exists;
// removed when the process ends normally.
inline const std::string& ScratchDir() {
    struct Dir {
        std::string path;
        Dir() {
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            path = (base / ("kiv-fuzz-" + std::to_string(getpid()))).string();
            std::filesystem::create_directories(path);
        }
        ~Dir() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Dir dir;
    return dir.path;
}

inline std::string ScratchFile(const char* name) { return ScratchDir() + "/" + name; }

using Bytes = std::span<const uint8_t>;

// The readers of the program, in the order the modes target's first byte picks them.
enum class Reader { Kiv, Dso, TekCsv, Sigrok };
constexpr int kReaderCount = 4;

// An import reader into plot 1.
inline int ImportBytes(Reader reader, CDataSrc& src, Bytes file) {
    switch (reader) {
        case Reader::Dso: return src.ReadDsoBytes(file, 1);
        case Reader::TekCsv: return src.ReadTekCsvBytes(file, 1);
        case Reader::Sigrok: return ReadSigrokSessionBytes(src, file, 1);
        case Reader::Kiv: break;
    }
    return 0;
}

// Bit for bit, so that a NaN a file stored equals itself.
static_assert(sizeof(AxisScale) == 16, "AxisScale has no padding");
inline bool SameBits(const AxisScale& a, const AxisScale& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Whatever the program holds it must save into bytes that load again and save the same.
inline void CheckReopens(CKivDoc& doc) {
    const std::vector<uint8_t> saved = doc.SaveToBytes();
    CKivDoc back;
    FUZZ_CHECK(back.LoadFromBytes(saved));
    FUZZ_CHECK(back.SaveToBytes() == saved);
}

// Everything of a document loading could change: what its file keeps, the codes whole (the
// file keeps their low bytes), the effective plots and the scales of a plot it lacks.
inline std::vector<uint8_t> Snapshot(CKivDoc& doc) {
    std::vector<uint8_t> s = doc.SaveToBytes();
    const CDataSrc& src = doc.Source();
    const auto add = [&s](const void* p, size_t n) {
        s.insert(s.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
    };
    for (const int32_t* codes : {src.m_nRaw1, src.m_nRaw2, src.m_nShown1, src.m_nShown2})
        add(codes, kSamples * sizeof(int32_t));
    for (const AxisScale* a : {&src.m_timeScale1, &src.m_timeScale2, &src.m_ampScale1, &src.m_ampScale2,
                               &src.m_axisX, &src.m_axisY1, &src.m_axisY2})
        add(a, sizeof *a);
    return s;
}

// An import target's plot pair: plot 2 already holds a record on its own time base, so that
// the import meets the averaging onto one time base and every two-plot mode.
inline int32_t SecondPlotCode(int i) { return 40 + (i * 7) % 120; }
constexpr AxisScale kSecondPlotTime = {-1, 's', 0.5}, kSecondPlotAmp = {0, 'V', 0.02};
inline void FillSecondPlot(CDataSrc& src) {
    for (int i = 0; i < kSamples; ++i) src.m_nRaw2[i] = SecondPlotCode(i);
    src.m_timeScale2 = kSecondPlotTime;
    src.m_ampScale2 = kSecondPlotAmp;
    src.m_nPresent |= 2;
    src.m_nEnabled |= 2;
    src.Rebuild();
}

// The plot pair's block of the document file.
inline std::vector<uint8_t> PlotPairBlock(CDataSrc& src) {
    CArchive ar;
    src.Serialize(ar);
    return ar.Buffer();
}

// The codes an import reader may give: all of them, or for the readers that scale measured
// values, 75 codes either side of the zero line at most.
struct CodeRange {
    int32_t lo = INT32_MIN, hi = INT32_MAX;
};
constexpr CodeRange kScaledCodes = {25, 175};

// What parsing alone guarantees, into plot 1 of a plot pair whose plot 2 holds a record: a
// refused file changes no byte of it; an accepted one fills plot 1 with codes in range and
// finite steps, switches both plots on and leaves plot 2 alone; the pair, rebuilt as the
// import command does, saves into a block that loads back to the same block and, where the
// file keeps the codes whole, the same effective plots. (The documents and the display modes
// are the modes target's: they cost milliseconds an input.)
inline void FuzzImport(Reader reader, Bytes file, CodeRange codes = {}) {
    static_assert(std::is_trivially_copyable_v<CDataSrc>);
    CDataSrc src;
    FillSecondPlot(src);
    CDataSrc before;
    std::memcpy(static_cast<void*>(&before), &src, sizeof src);  // padding too, for the byte comparison
    const int ok = ImportBytes(reader, src, file);
    FUZZ_CHECK(ok == 0 || ok == 1);
    if (!ok) {
        FUZZ_CHECK(std::memcmp(static_cast<const void*>(&src), &before, sizeof src) == 0);
        return;
    }
    FUZZ_CHECK(src.m_nPresent == 3 && src.m_nEnabled == 3);
    FUZZ_CHECK(std::isfinite(src.m_timeScale1.step) && std::isfinite(src.m_ampScale1.step));
    bool whole = true;
    for (int i = 0; i < kSamples; ++i) {
        FUZZ_CHECK(src.m_nRaw1[i] >= codes.lo && src.m_nRaw1[i] <= codes.hi);
        whole = whole && src.m_nRaw1[i] >= 0 && src.m_nRaw1[i] <= 255;
    }
    FUZZ_CHECK(std::memcmp(src.m_nRaw2, before.m_nRaw2, sizeof src.m_nRaw2) == 0);
    FUZZ_CHECK(SameBits(src.m_timeScale2, kSecondPlotTime) && SameBits(src.m_ampScale2, kSecondPlotAmp));

    src.Rebuild();
    const std::vector<uint8_t> saved = PlotPairBlock(src);
    CDataSrc back;
    CArchive in(saved);
    back.Serialize(in);
    FUZZ_CHECK(in.Position() == saved.size());
    FUZZ_CHECK(PlotPairBlock(back) == saved);
    if (whole) {
        FUZZ_CHECK(std::memcmp(back.m_nShown1, src.m_nShown1, sizeof src.m_nShown1) == 0);
        FUZZ_CHECK(std::memcmp(back.m_nShown2, src.m_nShown2, sizeof src.m_nShown2) == 0);
    }
}
