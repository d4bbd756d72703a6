// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "document/CKivDoc.h"
#include "data/CPcxEncoder.h"

namespace {

// Something like a rendered plot: black background, grid dots, two curves.
RgbPicture PlotLikePicture() {
    RgbPicture p;
    p.pixels.assign(800 * 600, 0x000000);
    for (int y = 20; y <= 550; y += 66)
        for (int x = 60; x <= 780; x += 3) p.pixels[y * 800 + x] = 0x808080;
    for (int x = 60; x < 780; ++x) {
        p.pixels[(285 + (x * 7) % 200 - 100) * 800 + x] = 0x3296FF;
        p.pixels[(285 + (x * 13) % 150 - 75) * 800 + x] = 0xFF0080;
    }
    return p;
}

void BM_PcxEncode(benchmark::State& state) {
    const RgbPicture picture = PlotLikePicture();
    std::string file;
    for (auto _ : state) {
        CPcxEncoder::Encode(picture, file);
        benchmark::DoNotOptimize(file.data());
    }
}
BENCHMARK(BM_PcxEncode)->Unit(benchmark::kMillisecond);

void BM_SpreadsheetCsvTwoPlots(benchmark::State& state) {
    CKivDoc doc;
    CDataSrc& s = doc.Source();
    for (int i = 0; i < kSamples; ++i) s.m_nRaw1[i] = i % 200, s.m_nRaw2[i] = 200 - i % 200;
    s.m_timeScale1 = s.m_timeScale2 = {-2, 's', 2.5};
    s.m_ampScale1 = s.m_ampScale2 = {-1, 'V', 20};
    s.m_nPresent = s.m_nEnabled = 3;
    doc.DataChanged();
    doc.GetCurrentMode()->GetDisplaySamples(1);
    std::string out;
    for (auto _ : state) {
        out.clear();
        WriteSpreadsheetCsv(*doc.GetCurrentMode(), out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SpreadsheetCsvTwoPlots)->Unit(benchmark::kMillisecond);

void BM_TekCsvImport(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() / "kiv-bench-import.CSV").string();
    {
        CKivDoc doc;
        CDataSrc& s = doc.Source();
        for (int i = 0; i < kSamples; ++i) s.m_nRaw1[i] = 100 + (i / 8) % 151 - 75;
        s.m_timeScale1 = {0, 's', 0.001};
        s.m_ampScale1 = {0, 'V', 0.02};
        s.m_nPresent = s.m_nEnabled = 1;
        doc.DataChanged();
        ExportDocument(doc, path);
    }
    CDataSrc src;
    for (auto _ : state) benchmark::DoNotOptimize(src.ReadTekCsv(path, 1));
    std::remove(path.c_str());
}
BENCHMARK(BM_TekCsvImport)->Unit(benchmark::kMicrosecond);

}  // namespace
