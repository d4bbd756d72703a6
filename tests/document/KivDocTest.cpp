// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>

#include "analysis/Generator.h"
#include "app/CommandIds.h"
#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "support/DataFixture.h"
#include "support/DocumentUse.h"
#include "support/PlotFill.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The file: 22 bytes of head, two plot blocks, then one byte per mode (25 when it is stored computed).
constexpr size_t kPlot1 = 22, kPlot2 = kPlot1 + 4056, kModes = kPlot2 + 4056;
// Offsets inside a plot block and a mode block.
constexpr size_t kTimeExp = 4, kTimeStep = 8, kAmpExp = 20, kAmpStep = 24, kInvert = 36, kOffsetOn = 40,
                 kOffsetOn2 = 48, kOffset = 52, kLeft = 1, kTop = 5, kRight = 9, kBottom = 13;

size_t ModeBlock(int mode) { return kModes + 25 * static_cast<size_t>(mode); }

template <class T = int32_t>
T At(const Bytes& b, size_t at) {
    T v;
    std::memcpy(&v, &b[at], sizeof v);
    return v;
}

template <class T>
void Put(Bytes& b, size_t at, T v) { std::memcpy(&b[at], &v, sizeof v); }

// Saved, opened again and saved again: the two files are the same bytes.
void ExpectReopens(CKivDoc& doc, const std::string& path) {
    ASSERT_TRUE(doc.OnSaveDocument(path)) << path;
    CKivDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path)) << path;
    EXPECT_EQ(back.SaveToBytes(), FileBytes(path)) << path;
}

class KivDoc : public ::testing::Test, public HostedDoc {};

}  // namespace

TEST_F(KivDoc, BlocksByteForByteAndRoundTrip) {
    // A new document is 29 bytes: cursor 2 at 4000, nothing else set.
    const Bytes fresh = {0, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(CKivDoc().SaveToBytes(), fresh);
    host.view.white = 1;
    CDataSrc& s = doc.Source();
    FillPlot(s, 1, [](int i) { return i == 5 ? -27 : i % 256; }, {-2, 's', 2.5}, {-1, 'V', 20.0});
    FillPlot(s, 2, [](int) { return 42; });
    s.m_nEnabled = 2;  // plot 1 holds data but is off
    s.m_bOffset1 = 1, s.m_nOffset1 = -7, s.m_bInvert1 = 1, s.m_bMultiplier1 = 1, s.m_fMultiplier1 = 2.0f;
    doc.DataChanged();
    CData* m = doc.GetCurrentMode();
    m->GetDisplaySamples(1);
    m->ZoomTo(400, 20, 2400, 180);
    doc.m_currentMode = kModeFourier, doc.m_nCursor1 = 12;
    doc.GetCurrentMode()->GetDisplaySamples(1);  // stored ready: opening computes the spectrum again

    const Bytes b = doc.SaveToBytes();
    ASSERT_EQ(b.size(), kModes + 25 + 5 + 25);
    // Mode, cursor, the view's white background, present and enabled bits.
    EXPECT_EQ(std::tuple(At(b, 0), At(b, 4), At(b, 16), b[20], b[21]), std::tuple(6, 12, 1, 3, 2));
    const size_t p = kPlot1;  // MakeColour(50, 150, 255) with red in the low byte
    EXPECT_EQ(std::tuple(At(b, p), At(b, p + 4), At<double>(b, p + 8), At(b, p + 16), At(b, p + 20),
                         At<double>(b, p + 24), At(b, p + 32)),
              std::tuple(0x00FF9632, -2, 2.5, int('s'), -1, 20.0, int('V')));
    // Invert, multiplier flag and value, then the offset flag again (not the multiplier's).
    EXPECT_EQ(std::tuple(At(b, p + 36), At(b, p + 40), At<float>(b, p + 44), At(b, p + 48), At(b, p + 52)),
              std::tuple(1, 1, 2.0f, 1, -7));
    EXPECT_EQ(std::tuple(b[p + 56 + 5], b[p + 56 + 300], At(b, p + 4056), b[p + 4056 + 56]),
              std::tuple(0xE5, 300 % 256, 0x008000FF, 42));
    // Mode 0 computed: ready, window (bottom 200 * 180 * 0.005f = 179.999996: 179), colours;
    // mode 1 not: one byte.
    const size_t mb = kModes;
    EXPECT_EQ(std::tuple(b[mb], At(b, mb + 1), At(b, mb + 9), At(b, mb + 13), At(b, mb + 17), b[mb + 25]),
              std::tuple(1, 400, 2400, 179, 0x00FF9632, 0));

    // The file holds exactly these bytes and loads back to them: codes widened unsigned,
    // plot 1 still off, multiplier kept but its flag lost, display codes rebuilt. Nothing
    // but the document is left in the folder.
    const std::string path = TestDir("kivdoc_blocks") + "/a.kiv";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(FileBytes(path), b);
    CKivDoc back(host.Platform());
    ASSERT_TRUE(back.OnOpenDocument(path));
    EXPECT_EQ(back.SaveToBytes(), b);
    const CDataSrc& t = back.Source();
    EXPECT_EQ(std::tuple(t.m_nRaw1[5], t.m_nEnabled, t.m_bMultiplier1, t.m_fMultiplier1, t.m_nOffset1, t.m_nShown1[0]),
              std::tuple(229, 2, 0, 2.0f, -7, 42));
    EXPECT_EQ(back.m_modes[kModeOriginal]->m_nDisp1[0], 26);  // plot 2's 42 in the window 21..180
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()), {}), 1);
}

// Which commands are enabled is the shell's test; here what they do to the document.
TEST_F(KivDoc, ModeCommandsAndPlotToggles) {
    const int ids[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_XY,
                       ID_MODE_SUM,      ID_MODE_PRODUCT,    ID_MODE_FOURIER,  32772};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(ModeOfCommand(ids[k]), k < 7 ? k : -1);

    // Switching modes computes nothing and keeps each mode's zoom.
    FillPlot(doc.Source(), 1, [](int) { return 130; });
    FillPlot(doc.Source(), 2, [](int) { return 70; });
    CData* orig = doc.GetCurrentMode();
    orig->GetDisplaySamples(1);
    orig->ZoomTo(0, 0, 2000, 100);
    doc.SetMode(kModeSum);
    EXPECT_EQ(doc.m_currentMode, kModeSum);
    EXPECT_EQ(doc.m_modes[kModeSum]->m_bReady, 0);
    doc.SetMode(kModeOriginal);
    EXPECT_TRUE(orig->IsZoomed());

    // A toggle flips the bit, clears every ready flag and redraws (that it marks the document
    // modified is the view's test of edits).
    const int redraws = host.view.redraws;
    doc.TogglePlot(2);
    EXPECT_EQ(doc.Source().m_nEnabled, 1);
    EXPECT_EQ(orig->m_bReady, 0);
    EXPECT_GT(host.view.redraws, redraws);
}

// Stored numbers are taken as they are: whatever a document or an import holds must load
// in bounded time, compute without overflow (the suite also runs under the sanitizers) and
// save into a document that opens again.
TEST(Robustness, DamagedDocumentsLoadInBoundedTimeOrAreRefused) {
    // Both plots on one time base, every mode computed, so that every mode block is in the file.
    CKivDoc made;
    FillPlot(made.Source(), 1, [](int i) { return 100 + (i % 40) - 20; });
    FillPlot(made.Source(), 2, [](int i) { return i < 2000 ? 150 : 60; });
    for (int i = 0; i < kModeCount; ++i) made.m_modes[i]->GetDisplaySamples(1);
    const Bytes base = made.SaveToBytes();
    ASSERT_EQ(base.size(), ModeBlock(kModeCount));
    const std::string dir = TestDir("robust_docs");
    const size_t xy = ModeBlock(kModeXY), original = ModeBlock(kModeOriginal);
    using Values = std::vector<int64_t>;
    // Name, 32-bit values written over the base, any other damage, what the opened document
    // shows (null: the file is refused) and what it should.
    using Case = std::tuple<const char*, std::vector<std::pair<size_t, int64_t>>, std::function<void(Bytes&)>,
                            std::function<Values(CKivDoc&)>, Values>;
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
        {"steps not numbers", {},
         [](Bytes& b) { Put<double>(b, kPlot1 + kAmpStep, NAN), Put<double>(b, kPlot2 + kTimeStep, INFINITY); },
         [](CKivDoc& d) { return Values{std::isnan(d.Source().m_ampScale1.step)}; }, {1}},
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
        {"mode 7", {{0, 7}}, {}, nullptr, {}}, {"cursor 4001", {{8, 4001}}, {}, nullptr, {}},
        {"cursor -1", {{4, -1}}, {}, nullptr, {}},
    };
    const std::string path = dir + "/damaged.kiv";
    for (const auto& [name, words, damage, probe, expected] : cases) {
        SCOPED_TRACE(name);
        Bytes bytes = base;
        for (auto [at, v] : words) Put(bytes, at, static_cast<int32_t>(v));
        if (damage) damage(bytes);
        WriteBytes(path, std::string(bytes.begin(), bytes.end()));
        HostedDoc h;
        FillPlot(h.doc.Source(), 2, [](int) { return 77; });
        ASSERT_EQ(h.doc.OnOpenDocument(path), probe != nullptr);
        if (!probe) {  // refused with a warning, the document as it was
            ASSERT_EQ(h.host.messages.boxes.size(), 1u);
            EXPECT_EQ(h.host.messages.boxes[0].icon, MsgIcon::Exclamation);
            EXPECT_EQ(std::tuple(h.doc.Source().m_nPresent, h.doc.Source().m_nRaw2[0]), std::tuple(2, 77));
            continue;
        }
        EXPECT_EQ(probe(h.doc), expected);
        UseEveryMode(h.doc);
        ExpectReopens(h.doc, dir + "/resaved.kiv");
    }
    // A missing file or a folder is a message too (a name not ending in ".kiv", refused
    // without one, is the shell's test of the command line).
    std::filesystem::create_directory(dir + "/folder.kiv");
    for (const char* name : {"/missing.kiv", "/folder.kiv"}) {
        HostedDoc missing;
        EXPECT_FALSE(missing.doc.OnOpenDocument(dir + name)) << name;
        EXPECT_EQ(missing.host.messages.boxes.size(), 1u) << name;
    }
}

// Every way of making a document ends in a file that opens again unchanged: an import may
// give codes anywhere in 32 bits, and averaging, inversion and every mode take them.
TEST(Robustness, EveryDocumentTheProgramWritesReopens) {
    const std::string dir = TestDir("robust_roundtrip");
    std::vector<int64_t> big(kSamples, 4294967295);
    for (int i = 1; i < kSamples; i += 2) big[i] = 1;
    WriteBytes(dir + "/big.dso", Dso(big));
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
             WriteBytes(dir + "/t.CSV", Tek([](int j) { return std::to_string(j % 7); }, 500, 0.032));
             ASSERT_EQ(ImportFile(d, dir + "/t.CSV", 2), 1);  // 4 ms a sample
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
        HostedDoc h;
        make(h.doc);
        ExpectReopens(h.doc, dir + "/doc.kiv");
    }
}
