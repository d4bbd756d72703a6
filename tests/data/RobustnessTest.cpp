#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

#include "analysis/Generator.h"
#include "data/CExport.h"
#include "data/CKivDoc.h"
#include "support/DocumentUse.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

// Stored numbers are taken as they are: whatever a document or an import holds must load
// in bounded time, compute without overflow (the suite also runs under the sanitizers) and
// save into a document that opens again.

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kPlot1 = 22, kPlot2 = kPlot1 + 4056, kModes = kPlot2 + 4056;
// Offsets inside a plot block and a mode block.
constexpr size_t kTimeExp = 4, kTimeStep = 8, kAmpExp = 20, kAmpStep = 24, kInvert = 36, kOffsetOn = 40,
                 kOffsetOn2 = 48, kOffset = 52, kLeft = 1, kTop = 5, kRight = 9, kBottom = 13;

size_t ModeBlock(int mode) { return kModes + 25 * static_cast<size_t>(mode); }

void Put32(Bytes& b, size_t at, int64_t v) {
    const int32_t x = static_cast<int32_t>(v);
    std::memcpy(&b[at], &x, 4);
}
void Put64(Bytes& b, size_t at, double v) { std::memcpy(&b[at], &v, 8); }

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// Saved, opened again and saved again: the two files are the same bytes.
void ExpectReopens(CKivDoc& doc, const std::string& path) {
    ASSERT_TRUE(doc.OnSaveDocument(path)) << path;
    const Bytes first = FileBytes(path);
    CKivDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path)) << path;
    EXPECT_EQ(back.SaveToBytes(), first) << path;
}

// Both plots on one time base, every mode computed, so that every mode block is in the file.
Bytes BaseDocument() {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i % 40) - 20; });
    FillPlot(doc.Source(), 2, [](int i) { return i < 2000 ? 150 : 60; });
    for (int i = 0; i < kModeCount; ++i) doc.m_modes[i]->GetDisplaySamples(1);
    return doc.SaveToBytes();
}

}  // namespace

TEST(Robustness, DamagedDocumentsLoadInBoundedTimeOrAreRefused) {
    const Bytes base = BaseDocument();
    ASSERT_EQ(base.size(), ModeBlock(kModeCount));
    const std::string dir = TestDir("robust_docs");
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        std::function<void(CKivDoc&)> check;  // null: the file is refused
    };
    const Case cases[] = {
        // The sum converts plot 2 into plot 1's codes with 0.001^2e9: it underflows to 0.
        {"sum exponent", [](Bytes& b) { Put32(b, kPlot1 + kAmpExp, 2000000000); },
         [](CKivDoc& d) {
             for (int i : {0, 1999, 2000, 3999})
                 EXPECT_EQ(d.m_modes[kModeSum]->m_nCalc1[i], d.Source().m_nShown1[i]) << i;
         }},
        // Time bases 2^32 - 1 thousands apart: the finer plot's step underflows, all of it
        // goes into the first output, the rest is the zero line.
        {"time exponents",
         [](Bytes& b) { Put32(b, kPlot1 + kTimeExp, INT32_MAX), Put32(b, kPlot2 + kTimeExp, INT32_MIN); },
         [](CKivDoc& d) {
             EXPECT_EQ(d.Source().m_nShown2[0], (100 + 150 * 2000 + 60 * 2000) / 4001);
             EXPECT_EQ(d.Source().m_nShown2[1], 100);
         }},
        // Codes near 1.5e9: the integral still rises to the top of the range.
        {"offset 1.5e9",
         [](Bytes& b) { Put32(b, kPlot1 + kOffsetOn, 1), Put32(b, kPlot1 + kOffsetOn2, 1), Put32(b, kPlot1 + kOffset, 1500000000); },
         [](CKivDoc& d) {
             EXPECT_EQ(d.Source().m_nShown1[0], 1500000080);
             EXPECT_EQ(d.m_modes[kModeIntegral]->m_nCalc1[3999], 200);
         }},
        // Offsets to both ends of 32 bits: saturated codes, sum and product shrunk into range.
        {"offsets at the limits",
         [](Bytes& b) {
             Put32(b, kPlot1 + kInvert, 1);
             for (size_t p : {kPlot1, kPlot2}) Put32(b, p + kOffsetOn, 1), Put32(b, p + kOffsetOn2, 1);
             Put32(b, kPlot1 + kOffset, INT32_MAX), Put32(b, kPlot2 + kOffset, INT32_MIN);
         },
         [](CKivDoc& d) {
             EXPECT_EQ(d.Source().m_nShown1[0], INT32_MAX);
             EXPECT_EQ(d.Source().m_nShown2[0], int64_t{INT32_MIN} + 150);
             for (int mode : {kModeSum, kModeProduct})
                 for (int i = 0; i < kSamples; i += 500)  // 0..200
                     EXPECT_LE(uint32_t(d.m_modes[mode]->m_nCalc1[i]), 200u) << mode << " " << i;
         }},
        // Exponent sums and differences leave 32 bits: they saturate.
        {"exponents at the limits",
         [](Bytes& b) {
             Put32(b, kPlot1 + kAmpExp, INT32_MAX), Put32(b, kPlot2 + kAmpExp, INT32_MIN);
             Put32(b, kPlot1 + kTimeExp, -1), Put32(b, kPlot2 + kTimeExp, -1);
         },
         [](CKivDoc& d) {
             EXPECT_EQ(d.m_modes[kModeDerivative]->m_scaleY1.exponent, INT32_MAX);
             EXPECT_EQ(d.m_modes[kModeIntegral]->m_scaleY2.exponent, INT32_MIN);
             EXPECT_EQ(d.m_modes[kModeProduct]->m_scaleY1.exponent, -1);
         }},
        {"steps not numbers",
         [](Bytes& b) { Put64(b, kPlot1 + kAmpStep, NAN), Put64(b, kPlot2 + kTimeStep, INFINITY); }, [](CKivDoc&) {}},
        // Zoom windows at the ends of 32 bits, and one without area, which shows nothing.
        {"window at the limits",
         [](Bytes& b) {
             const size_t m = ModeBlock(kModeOriginal);
             Put32(b, m + kLeft, INT32_MAX - 10), Put32(b, m + kTop, INT32_MIN);
             Put32(b, m + kRight, INT32_MAX), Put32(b, m + kBottom, INT32_MAX);
         },
         [](CKivDoc& d) { EXPECT_EQ(d.m_modes[kModeOriginal]->m_window.right, INT32_MAX); }},
        {"window without area",
         [](Bytes& b) {
             for (size_t at : {kLeft, kTop, kRight, kBottom}) Put32(b, ModeBlock(kModeXY) + at, 0);
         },
         [](CKivDoc& d) {
             EXPECT_TRUE(d.m_modes[kModeXY]->m_nDisp1[0] == kNoCode && d.m_modes[kModeXY]->m_nDisp2[3999] == kNoCode);
         }},
        // Content the file format does not restrict.
        {"trailing bytes", [](Bytes& b) { b.insert(b.end(), 5, 0xEE); },
         [](CKivDoc& d) { EXPECT_EQ(d.SaveToBytes().size(), ModeBlock(kModeCount)); }},
        {"other mask bits", [](Bytes& b) { b[20] = 0xFF, b[21] = 0x07; },
         [](CKivDoc& d) { EXPECT_EQ(d.Source().m_nPresent, 0xFF); }},
        {"plot on without data", [](Bytes& b) { b[20] = 1, b.erase(b.begin() + kPlot2, b.begin() + kModes); },
         [](CKivDoc& d) { EXPECT_EQ(d.Source().m_nShown2[5], 100); }},
        // Refused: what cannot be read or would index past the tables.
        {"short", [](Bytes& b) { b.resize(b.size() - 3); }, nullptr},
        {"empty", [](Bytes& b) { b.clear(); }, nullptr},
        {"mode 7", [](Bytes& b) { Put32(b, 0, 7); }, nullptr},
        {"cursor 4001", [](Bytes& b) { Put32(b, 8, 4001); }, nullptr},
        {"cursor -1", [](Bytes& b) { Put32(b, 4, -1); }, nullptr},
    };
    FakeHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = base;
        c.damage(bytes);
        const std::string path = dir + "/damaged.kiv";
        WriteBytes(path, Text(bytes));
        CKivDoc doc(host.Platform());
        FillPlot(doc.Source(), 2, [](int) { return 77; });
        host.messages.boxes.clear();
        if (!c.check) {
            EXPECT_FALSE(doc.OnOpenDocument(path));
            ASSERT_EQ(host.messages.boxes.size(), 1u);
            EXPECT_TRUE(host.messages.boxes[0].icon == MsgIcon::Exclamation && doc.Source().m_nPresent == 2 &&
                        doc.Source().m_nRaw2[0] == 77);  // the document as it was
            continue;
        }
        ASSERT_TRUE(doc.OnOpenDocument(path));
        c.check(doc);
        UseEveryMode(doc);
        ExpectReopens(doc, dir + "/resaved.kiv");
    }
    // A missing file is a message too; a name in capitals is refused without one.
    CKivDoc doc(host.Platform());
    host.messages.boxes.clear();
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/missing.kiv"));
    EXPECT_EQ(host.messages.boxes.size(), 1u);
    WriteBytes(dir + "/caps.KIV", Text(base));
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/caps.KIV"));
    EXPECT_EQ(host.messages.boxes.size(), 1u);
}

// An import may give codes anywhere in 32 bits; averaging, inversion and every mode take them.
TEST(Robustness, ImportedCodesAtTheLimitsThroughEveryMode) {
    const std::string dir = TestDir("robust_import");
    std::string dso = "DSO-1\r\nCH1;YUN:V;YMU:0.004;\r\nXIN:1e-3;XUN:s;NRP:4000;\r\n";
    for (int i = 0; i < kSamples; ++i) dso += i % 2 ? "1," : "4294967295,";
    WriteBytes(dir + "/big.dso", dso + "\r\n");
    CKivDoc doc;
    FillPlot(doc.Source(), 2, [](int i) { return i % 200; }, {0, 's', 0.002});
    ASSERT_EQ(doc.Source().ReadDso(dir + "/big.dso", 1), 1);
    doc.Source().m_nEnabled = 3;
    doc.DataChanged();
    // Plot 1 is the finer: pairs of samples averaged with one zero-line code.
    const CDataSrc& s = doc.Source();
    EXPECT_GT(s.m_nRaw1[0], INT32_MAX / 2);
    EXPECT_EQ(s.m_nShown1[0], (int64_t{100} + s.m_nRaw1[0] + s.m_nRaw1[1]) / 3);
    UseEveryMode(doc);
    doc.Source().m_bInvert1 = 1;
    doc.DataChanged();
    UseEveryMode(doc);
    ExpectReopens(doc, dir + "/big.kiv");
}

// Every way of making a document ends in a file that opens again unchanged.
TEST(Robustness, EveryDocumentTheProgramWritesReopens) {
    const std::string dir = TestDir("robust_roundtrip");
    FakeHost host;
    struct Producer {
        const char* name;
        std::function<void(CKivDoc&)> make;
    };
    const Producer producers[] = {
        {"new", [](CKivDoc&) {}},
        // An export computes the mode on show, which marks it ready with nothing to show.
        {"exported empty", [&](CKivDoc& d) { ExportDocument(d, dir + "/e.csv", nullptr); }},
        {"exported XY with one plot",
         [&](CKivDoc& d) {
             FillPlot(d.Source(), 1, [](int i) { return i % 200; });
             d.m_currentMode = kModeXY;
             ExportDocument(d, dir + "/x.csv", nullptr);
             ExportDocument(d, dir + "/x.CSV", nullptr);
         }},
        {"every mode computed with one plot",
         [](CKivDoc& d) {
             FillPlot(d.Source(), 2, [](int i) { return 50 + i % 100; });
             d.Source().m_nEnabled = 2;
             UseEveryMode(d);
         }},
        {"generated", [](CKivDoc& d) { GeneratorParams p; d.OnGenerate(&p); }},
        {"imported",
         [&](CKivDoc& d) {
             std::string tek;
             for (int j = 0; j < 500; ++j) tek += std::to_string((j - 249) * 0.008) + "," + std::to_string(j % 7) + "\r\n";
             WriteBytes(dir + "/t.CSV", tek);
             ASSERT_EQ(d.Source().ReadTekCsv(dir + "/t.CSV", 2), 1);
             d.DataChanged();
         }},
        {"zoomed, Fourier shown, multiplier on, plot 2 off",
         [](CKivDoc& d) {
             FillPlot(d.Source(), 1, [](int i) { return 100 + static_cast<int>(60 * std::sin(i * 0.01)); });
             FillPlot(d.Source(), 2, [](int i) { return i % 300; }, {-1, 's', 1.0});
             d.m_nCursor1 = 100;
             d.m_modes[kModeFourier]->GetDisplaySamples(1);
             d.m_modes[kModeOriginal]->GetDisplaySamples(1);
             d.m_modes[kModeOriginal]->ZoomTo(400, 20, 2400, 180);
             PlotSettings s;
             d.Source().GetPlotSettings(s, 1);
             s.bMultiplier = 1, s.fMultiplier = -2.5f;
             d.Source().SetPlotSettings(s, 1);
             d.Source().m_nEnabled = 1;
             d.SetViewFlags(1, 1);
         }},
    };
    for (const Producer& p : producers) {
        SCOPED_TRACE(p.name);
        CKivDoc doc(host.Platform());
        p.make(doc);
        ExpectReopens(doc, dir + "/doc.kiv");
    }
}
