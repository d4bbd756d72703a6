#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

#include "analysis/Generator.h"
#include "data/CDataSrcImport.h"
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
    const size_t xy = ModeBlock(kModeXY), original = ModeBlock(kModeOriginal);
    using Values = std::vector<int64_t>;
    struct Case {
        const char* name;
        std::vector<std::pair<size_t, int64_t>> words;  // 32-bit values written over the base
        std::function<void(Bytes&)> damage;             // anything else
        std::function<Values(CKivDoc&)> probe;          // null: the file is refused
        Values expected;
    };
    auto calc = [](CKivDoc& d, int mode, int i) -> int64_t { return d.m_modes[mode]->m_nCalc1[i]; };
    const Case cases[] = {
        // The sum converts plot 2 into plot 1's codes with 0.001^2e9: it underflows, the sum is plot 1.
        {"sum exponent", {{kPlot1 + kAmpExp, 2000000000}}, {},
         [&](CKivDoc& d) { return Values{calc(d, kModeSum, 0), calc(d, kModeSum, 3999)}; }, {80, 119}},
        // Time bases 2^32 - 1 thousands apart: the finer plot's step underflows, all of it
        // goes into the first output, (100 + 2000 * 150 + 2000 * 60) / 4001; then the zero line.
        {"time exponents", {{kPlot1 + kTimeExp, INT32_MAX}, {kPlot2 + kTimeExp, INT32_MIN}}, {},
         [](CKivDoc& d) { return Values{d.Source().m_nShown2[0], d.Source().m_nShown2[1]}; }, {104, 100}},
        // Codes near 1.5e9: the integral still rises to the top of the range.
        {"offset 1.5e9", {{kPlot1 + kOffsetOn, 1}, {kPlot1 + kOffsetOn2, 1}, {kPlot1 + kOffset, 1500000000}}, {},
         [&](CKivDoc& d) { return Values{d.Source().m_nShown1[0], calc(d, kModeIntegral, 3999)}; }, {1500000080, 200}},
        // Offsets to both ends of 32 bits: saturated codes, sum and product shrunk into 0..200.
        {"offsets at the limits",
         {{kPlot1 + kInvert, 1}, {kPlot1 + kOffsetOn, 1}, {kPlot1 + kOffsetOn2, 1}, {kPlot2 + kOffsetOn, 1},
          {kPlot2 + kOffsetOn2, 1}, {kPlot1 + kOffset, INT32_MAX}, {kPlot2 + kOffset, INT32_MIN}},
         {}, [&](CKivDoc& d) {
             Values v{d.Source().m_nShown1[0], d.Source().m_nShown2[0]};
             auto code = [](int64_t c) { return c >= 0 && c <= 200; };
             for (int i = 0; i < kSamples; i += 500)
                 v.push_back(code(calc(d, kModeSum, i)) + code(calc(d, kModeProduct, i)));
             return v;
         }, {INT32_MAX, INT32_MIN + 150, 2, 2, 2, 2, 2, 2, 2, 2}},
        // Exponent sums and differences leave 32 bits: they saturate.
        {"exponents at the limits",
         {{kPlot1 + kAmpExp, INT32_MAX}, {kPlot2 + kAmpExp, INT32_MIN}, {kPlot1 + kTimeExp, -1},
          {kPlot2 + kTimeExp, -1}},
         {}, [](CKivDoc& d) {
             return Values{d.m_modes[kModeDerivative]->m_scaleY1.exponent, d.m_modes[kModeIntegral]->m_scaleY2.exponent,
                           d.m_modes[kModeProduct]->m_scaleY1.exponent};
         }, {INT32_MAX, INT32_MIN, -1}},
        {"steps not numbers", {}, [](Bytes& b) {
             const double nan = NAN, inf = INFINITY;
             std::memcpy(&b[kPlot1 + kAmpStep], &nan, 8), std::memcpy(&b[kPlot2 + kTimeStep], &inf, 8);
         }, [](CKivDoc& d) { return Values{std::isnan(d.Source().m_ampScale1.step)}; }, {1}},
        // Zoom windows at the ends of 32 bits, and one without area, which shows nothing.
        {"window at the limits",
         {{original + kLeft, INT32_MAX - 10}, {original + kTop, INT32_MIN}, {original + kRight, INT32_MAX},
          {original + kBottom, INT32_MAX}},
         {}, [](CKivDoc& d) { return Values{d.m_modes[kModeOriginal]->m_window.right}; }, {INT32_MAX}},
        {"window without area", {{xy + kLeft, 0}, {xy + kTop, 0}, {xy + kRight, 0}, {xy + kBottom, 0}}, {},
         [](CKivDoc& d) { return Values{d.m_modes[kModeXY]->m_nDisp1[0], d.m_modes[kModeXY]->m_nDisp2[3999]}; },
         {kNoCode, kNoCode}},
        // Content the file format does not restrict.
        {"trailing bytes", {}, [](Bytes& b) { b.insert(b.end(), 5, 0xEE); },
         [](CKivDoc& d) { return Values{int64_t(d.SaveToBytes().size())}; }, {int64_t(ModeBlock(kModeCount))}},
        {"other mask bits", {}, [](Bytes& b) { b[20] = 0xFF, b[21] = 0x07; },
         [](CKivDoc& d) { return Values{d.Source().m_nPresent}; }, {0xFF}},
        {"plot on without data", {}, [](Bytes& b) { b[20] = 1, b.erase(b.begin() + kPlot2, b.begin() + kModes); },
         [](CKivDoc& d) { return Values{d.Source().m_nShown2[5]}; }, {100}},
        // Refused: what cannot be read or would index past the tables.
        {"short", {}, [](Bytes& b) { b.resize(b.size() - 3); }, nullptr, {}},
        {"empty", {}, [](Bytes& b) { b.clear(); }, nullptr, {}},
        {"mode 7", {{0, 7}}, {}, nullptr, {}},
        {"cursor 4001", {{8, 4001}}, {}, nullptr, {}},
        {"cursor -1", {{4, -1}}, {}, nullptr, {}},
    };
    FakeHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = base;
        for (auto [at, v] : c.words) {
            const int32_t word = static_cast<int32_t>(v);
            std::memcpy(&bytes[at], &word, 4);
        }
        if (c.damage) c.damage(bytes);
        const std::string path = dir + "/damaged.kiv";
        WriteBytes(path, std::string(bytes.begin(), bytes.end()));
        CKivDoc doc(host.Platform());
        FillPlot(doc.Source(), 2, [](int) { return 77; });
        host.messages.boxes.clear();
        if (!c.probe) {
            EXPECT_FALSE(doc.OnOpenDocument(path));
            ASSERT_EQ(host.messages.boxes.size(), 1u);
            EXPECT_EQ(host.messages.boxes[0].icon, MsgIcon::Exclamation);
            EXPECT_EQ(std::tuple(doc.Source().m_nPresent, doc.Source().m_nRaw2[0]), std::tuple(2, 77));  // as it was
            continue;
        }
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(c.probe(doc), c.expected);
        UseEveryMode(doc);
        ExpectReopens(doc, dir + "/resaved.kiv");
    }
    // A missing file is a message too; a name in capitals is refused without one.
    CKivDoc doc(host.Platform());
    host.messages.boxes.clear();
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/missing.kiv"));
    EXPECT_EQ(host.messages.boxes.size(), 1u);
    WriteBytes(dir + "/caps.KIV", std::string(base.begin(), base.end()));
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/caps.KIV"));
    EXPECT_EQ(host.messages.boxes.size(), 1u);
}

// Every way of making a document ends in a file that opens again unchanged: an import may
// give codes anywhere in 32 bits, and averaging, inversion and every mode take them.
TEST(Robustness, EveryDocumentTheProgramWritesReopens) {
    const std::string dir = TestDir("robust_roundtrip");
    std::string dso = "DSO-1\r\nCH1;YUN:V;YMU:0.004;\r\nXIN:1e-3;XUN:s;NRP:4000;\r\n";
    for (int i = 0; i < kSamples; ++i) dso += i % 2 ? "1," : "4294967295,";
    WriteBytes(dir + "/big.dso", dso + "\r\n");
    FakeHost host;
    const std::pair<const char*, std::function<void(CKivDoc&)>> producers[] = {
        // An export computes the mode on show, which marks it ready with nothing to show.
        {"exported XY with one plot", [&](CKivDoc& d) {
             FillPlot(d.Source(), 1, [](int i) { return i % 200; });
             d.m_currentMode = kModeXY;
             ExportDocument(d, dir + "/x.csv");
             ExportDocument(d, dir + "/x.CSV");
         }},
        {"every mode computed with plot 2 alone", [](CKivDoc& d) {
             FillPlot(d.Source(), 2, [](int i) { return 50 + i % 100; });
             d.Source().m_nEnabled = 2;
             UseEveryMode(d);
         }},
        {"generated", [](CKivDoc& d) { GeneratorParams p; d.OnGenerate(&p); }},
        // Plot 1 is the finer: pairs of samples averaged with one zero-line code.
        {"imported, codes at the limits, inverted", [&](CKivDoc& d) {
             std::string tek;
             for (int j = 0; j < 500; ++j)
                 tek += std::to_string((j - 249) * 0.016) + "," + std::to_string(j % 7) + "\r\n";
             WriteBytes(dir + "/t.CSV", tek);
             ASSERT_EQ(ImportFile(d, dir + "/t.CSV", 2), 1);  // 2 ms a sample
             ASSERT_EQ(ImportFile(d, dir + "/big.dso", 1), 1);
             EXPECT_EQ(d.Source().m_nRaw1[0], 2147483619);   // 2^31 - 1, less 28
             EXPECT_EQ(d.Source().m_nShown1[0], 715827897);  // (100 + 2147483619 - 27) / 3
             UseEveryMode(d);
             d.Source().m_bInvert1 = 1;
             d.DataChanged();
         }},
    };
    for (const auto& [name, make] : producers) {
        SCOPED_TRACE(name);
        CKivDoc doc(host.Platform());
        make(doc);
        ExpectReopens(doc, dir + "/doc.kiv");
    }
}
