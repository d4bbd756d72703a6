// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "document/CFileForms.h"
#include "support/DataFixture.h"
#include "support/PlotFill.h"

namespace {

using Texts = std::vector<std::string>;

std::string Path(const std::string& name) {
    static const std::string dir = TestDir("export");
    return dir + "/" + name;
}

// A file's lines, without their CR LF.
Texts Rows(const std::string& path) {
    const std::string text = FileText(path);
    Texts rows;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        rows.push_back(text.substr(at, end - at));
    return rows;
}

// The rows of the file the export writes.
Texts Export(CKivDoc& doc, const std::string& name) {
    EXPECT_EQ(ExportDocument(doc, Path(name)), 1);
    return Rows(Path(name));
}

const AxisScale kTime1024 = {0, 's', 1.0 / 1024};  // 8 samples = 1/128 s: every time exact

// A form the desktop half might add: the picture's height, rendered on demand.
class CProbeForm : public CExportForm {
public:
    const char* Name() const override { return "probe"; }
    const char* FilterText() const override { return "Próba (*.prb)"; }
    const char* Extension() const override { return "prb"; }
    bool Write(const CExportJob& job, std::string& out) const override {
        return out = std::to_string(job.picture().height), true;
    }
};

std::string Encoded(const RgbPicture& picture) {
    std::string file;
    EXPECT_TRUE(CPcxEncoder::Encode(picture, file));
    return file;
}

RgbPicture Filled(uint32_t rgb) { return {800, 600, std::vector<uint32_t>(800 * 600, rgb)}; }

class ExportForms : public ::testing::Test, public HostedDoc {};

// The bytes read as a file of that name into one plot of src.
int Read(CDataSrc& src, const std::string& bytes, const std::string& name, int plot = 1) {
    const std::string path = TestDir("import") + "/" + name;
    WriteBytes(path, bytes);
    return PathExtension(path) == "dso" ? src.ReadDso(path, plot) : src.ReadTekCsv(path, plot);
}

}  // namespace

// One curve: time and value, each with twelve decimals after a comma and a ";" (row 0 of
// a plain volt curve is kivtool's test). Millivolts and milliseconds are written as volts
// and seconds; the time is summed step by step, so the last row is short of 3999 * 0.002.
TEST(ExportCsv, SpreadsheetAndTektronixRows) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, {-1, 's', 2}, {-1, 'V', 0.5});
    Texts rows = Export(doc, "a.csv");
    ASSERT_EQ(rows.size(), 4000u);
    EXPECT_EQ(rows.at(1), "0,002000000000;0,025000000000;");
    EXPECT_EQ(rows.at(3999), "7,997999999999;0,025000000000;");
    // Both plots on: two value columns, also in a mode that shows one curve.
    FillPlot(doc.Source(), 2, [](int) { return 50; }, {-1, 's', 2}, {0, 'V', 0.02});
    doc.DataChanged();
    EXPECT_EQ(Export(doc, "a.csv").at(0), "0,000000000000;0,025000000000;-1,000000000000");
    doc.m_currentMode = kModeSum;
    // Plot 2 is the reference: 50 + trunc(50 * 0.001 * 0.5 / 0.02 + 0.5) = 51, then plot 1.
    EXPECT_EQ(Export(doc, "a.csv").at(3999), "7,997999999999;-0,980000000000;0,025000000000");
    // Fourier mode: the harmonics table instead (Windows-1250 in the file).
    doc.m_currentMode = kModeFourier;
    EXPECT_EQ(Export(doc, "a.csv").at(0), "wykres z kana\xb3u 1;;;;;;;wykres z kana\xb3u 2");

    // Tektronix rows: eight samples a row, the first plot of two.
    doc.m_currentMode = kModeOriginal;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, kTime1024, {0, 'V', 0.02});
    FillPlot(doc.Source(), 2, [](int i) { return i % 200; }, kTime1024);
    doc.DataChanged();
    rows = Export(doc, "a.CSV");
    ASSERT_EQ(rows.size(), 500u);
    for (const std::string& row : rows) ASSERT_EQ(row.substr(row.find(',')), ",1.000000000000");
    EXPECT_EQ(Texts({rows[0], rows[249], rows[250], rows[499]}),
              Texts({"-1.953125000000,1.000000000000", "-0.007812500000,1.000000000000",
                     "0.007812500000,1.000000000000", "1.953125000000,1.000000000000"}));
    // Through the importer: each row is the mean of its eight samples (here one code
    // below and one above alternately), groups reaching 75 codes come back as they were.
    auto code = [](int i) { return 25 + (i / 8) % 151; };
    CKivDoc source, target;
    FillPlot(source.Source(), 1, [&](int i) { return code(i) + (i % 2 ? 1 : -1); }, kTime1024, {0, 'V', 2});
    Export(source, "a.CSV");
    ASSERT_EQ(ImportFile(target, Path("a.CSV"), 2), 1);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(target.Source().m_nRaw2[i], code(i)) << i;
}

// One table of forms (kivtool's test has their names, the file dialogs' their filters): the
// extensions, forms added from outside the core. The view redraws after every export, as a
// picture form rendered at 800 x 600.
TEST_F(ExportForms, ExtensionsPicturesAndFailures) {
    const std::string dir = TestDir("export-ext");
    int renders = 0;
    auto picture = [&] { return ++renders, RgbPicture{800, 600, std::vector<uint32_t>(800 * 600, 0xFFFFFF)}; };
    for (const char* name : {"/e.csv", "/e.CSV"}) {  // no plot on: created empty
        EXPECT_EQ(ExportDocument(doc, dir + name, picture), 1) << name;
        EXPECT_EQ(FileBytes(dir + name).size(), 0u) << name;
    }
    EXPECT_EQ(renders, 0);  // only a picture form renders
    FillPlot(doc.Source(), 1, [](int i) { return i % 2 ? 150 : 100; });
    for (const char* name : {"/a.PCX", "/a.txt", "/a"}) EXPECT_EQ(ExportDocument(doc, dir + name, picture), 0);
    EXPECT_EQ(ExportDocument(doc, dir + "/n.pcx"), 0);  // no picture to be had
    EXPECT_EQ(ExportDocument(doc, dir + "/a.pcx", picture), 1);
    // By name, whatever the extension: the harmonics table from the original mode.
    ASSERT_EQ(ExportDocument(doc, dir + "/h.txt", *CFileForms::ExportNamed("harmonics")), 1);
    EXPECT_EQ(Rows(dir + "/h.txt").at(0), "wykres z kana\xb3u 1");
    EXPECT_EQ(CFileForms::ExportNamed("PCX"), nullptr);
    const size_t forms = CFileForms::Exports().size();
    CFileForms::AddExport(std::make_unique<CProbeForm>());
    CFileForms::AddExport(std::make_unique<CProbeForm>());  // one form per name
    EXPECT_EQ(CFileForms::Exports().size(), forms + 1);
    ASSERT_EQ(ExportDocument(doc, dir + "/a.prb", picture), 1);
    EXPECT_EQ(FileText(dir + "/a.prb"), "600");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 5);

    for (const char* name : {"/no/a.CSV", "/no/a.pcx", "/no/a.csv"})
        EXPECT_EQ(ExportDocument(doc, dir + name, picture), 0) << name;
    ASSERT_EQ(host.messages.boxes.size(), 1u);  // the spreadsheet form only
    const auto& box = host.messages.boxes[0];
    EXPECT_EQ(std::tuple(box.text, box.caption, box.icon),
              std::tuple("Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!", "UWAGA !",
                         MsgIcon::Exclamation));
    EXPECT_EQ(host.view.redraws, 12);
}

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
    // Maker, version, RLE, 8 bits, window 0..799 x 0..599, 800 x 600 dpi (16 bytes); the
    // 16-colour palette (48); reserved 0, one plane, 800 bytes a row.
    const unsigned char fixed[] = {
        0x0A, 5, 1, 8, 0, 0, 0, 0, 0x1F, 0x03, 0x57, 0x02, 0x20, 0x03, 0x58, 0x02, 0x00,
        0x00, 0x00, 0xd8, 0x98, 0x38, 0x78, 0x74, 0x04, 0x70, 0x6c, 0x04, 0xec, 0xac, 0x4c, 0xf8, 0xc4, 0x80,
        0x40, 0x24, 0x24, 0x24, 0x28, 0x14, 0xf8, 0xbc, 0x68, 0xd4, 0x90, 0x9c, 0x3c, 0x24, 0x24, 0x74, 0x70,
        0x08, 0x78, 0x74, 0x08, 0x7c, 0x78, 0x08, 0x34, 0x30, 0x04, 0xf0, 0xc4, 0x88, 0, 1, 0x20, 0x03};
    EXPECT_EQ(file.substr(0, 128), std::string(std::begin(fixed), std::end(fixed)) + std::string(60, '\0'));
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
        ASSERT_EQ(uint32_t(rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2]), picture.pixels[i]) << i;
}

// Missing readings (0, 255, no comma after the last value) repeat the value before; the
// first has none and reads 128, the zero line. Only plot 2 is written.
TEST(ImportDso, UnitsStepsAndMissingReadings) {
    std::vector<int64_t> v(kSamples, 90);
    v[0] = 255, v[1] = 50, v[2] = 255, v[3] = 0, v[4] = 60, v[3998] = 70;
    struct Case { std::string yun, xun; std::vector<int> expected; };  // amp exp, unit, time exp, unit
    for (const Case& c : {Case{"mV", "ms", {-1, 'V', -1, 's'}}, Case{"V", "us", {0, 'V', -2, 's'}},
                          Case{"MV", "Ns", {-1, 'V', -3, 's'}}, Case{"%", "", {0, '%', 0, 0}}}) {
        std::string text = Dso(v, c.yun, c.xun);
        text.erase(text.rfind(','), 1);
        CDataSrc src;
        FillPlot(src, 1, [](int) { return 33; });
        src.m_nEnabled = 0;
        ASSERT_EQ(Read(src, text, "a.dso", 2), 1);
        const AxisScale &a = src.m_ampScale2, &t = src.m_timeScale2;
        EXPECT_EQ(std::vector<int>({a.exponent, a.unit, t.exponent, t.unit}), c.expected) << c.yun << " " << c.xun;
        EXPECT_EQ(std::tuple(a.step, t.step, src.m_nPresent, src.m_nEnabled, src.m_nRaw2[3999], src.m_nRaw1[0]),
                  std::tuple(0.004, 0.002, 3, 3, 42, 33));
        EXPECT_EQ(Codes(src.m_nRaw2, 0, 6), std::vector<int>({100, 22, 22, 22, 32, 62}));
    }
}

// Code 100 with code-140 groups at 0, 500 and 999; redrawn codes are
// 100 + 40 * l_j(x) + 0.5 truncated, l_j the Lagrange basis at x = 2.25, 2.5, 2.75.
// Groups 100..104 read 46, 72, 154, 89, 10: the polynomial gives 152.078125, 139.4375
// and exactly 117.5 at 2.25, 2.5 and 2.75, so 152, 139 and 118, less 28.
TEST(ImportDso, SteppedRecordIsRedrawnBetweenItsPoints) {
    std::vector<int64_t> v(kSamples, 128);
    for (int g : {0, 500, 999}) std::fill_n(v.begin() + 4 * g, 4, 168);
    for (int g = 0; int64_t code : {46, 72, 154, 89, 10}) std::fill_n(v.begin() + 400 + 4 * g++, 4, code);
    CDataSrc src;
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    const std::vector<std::pair<int, std::vector<int>>> runs = {
        {0, {140, 140, 140, 140, 100, 100, 100, 100, 100, 101, 101, 101, 100}}, {408, {126, 124, 111, 90, 61}},
        {1992, {100, 99, 98, 98, 100, 108, 119, 130, 140, 137, 128, 115, 100, 95, 94, 96, 100, 101, 101, 101, 100}},
        {3988, {100, 99, 98, 98, 100, 100, 100, 100, 140, 140, 140, 140}}};
    for (const auto& [at, codes] : runs) EXPECT_EQ(Codes(src.m_nRaw1, at, int(codes.size())), codes) << at;
    v[2003] = 150;  // one unequal group: the record is taken as it is
    ASSERT_EQ(Read(src, Dso(v), "a.dso"), 1);
    EXPECT_EQ(Codes(src.m_nRaw1, 2000, 4), std::vector<int>({140, 140, 140, 122}));
}

// The amplitude step from the range of the values (the series ..., 0.8, 2, 8, 20, ...), then
// each value into eight samples.
TEST(ImportTekCsv, StepSeriesAndValuesFillEightSamplesEach) {
    const std::vector<std::pair<double, double>> steps = {{3.0 / 75, 0.08}, {150.0 / 75, 2}, {1, 2}, {0.8, 2},
        {0.5, 0.8}, {8.0001, 20}, {1e9 / 75, 2e7}, {0, 2e-15}, {8e15, 8e15}, {8.1e15, 0}};
    for (auto [r, step] : steps) EXPECT_EQ(TekCsvAmplitudeStep(r), step) << r;
    CDataSrc src;
    FillPlot(src, 1, [](int) { return 7; });
    src.m_ampScale2 = {-2, 'W', 9};
    ASSERT_EQ(Read(src, Tek([](int j) { return std::to_string(j % 7 - 3); }), "a.CSV", 2), 1);
    const int codes[7] = {63, 75, 88, 100, 112, 125, 137};  // trunc(v / 0.08) + 100
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(src.m_nRaw2[i], codes[(i / 8) % 7]) << i;
    const AxisScale &a = src.m_ampScale2, &t = src.m_timeScale2;
    EXPECT_EQ(std::tuple(a.step, a.exponent, a.unit), std::tuple(0.08, 0, 'W'));  // the unit as it was
    EXPECT_EQ(std::tuple(t.step, t.exponent), std::tuple(0.001, 0));              // 2.0 * 0.0005
    EXPECT_EQ(std::tuple(src.m_nRaw1[0], src.m_nPresent, src.m_nEnabled), std::tuple(7, 3, 3));
    // A CR before another byte is dropped: "1\r5" reads 15 (step 0.4).
    ASSERT_EQ(Read(src, Tek([&](int j) { return j ? "0" : "1\r5"; }), "a.csv"), 1);
    EXPECT_EQ(std::tuple(src.m_ampScale1.step, src.m_nRaw1[7], src.m_nRaw1[8]), std::tuple(0.4, 137, 100));
}

// Refused files leave the document as it was (garbage of any kind is the fuzz targets');
// the extension is compared case-sensitively.
TEST(Import, ImportFileRefusesWithoutTouchingTheDocument) {
    auto one = [](int) { return "1"; };
    std::string lfOnly = Tek(one, 600), unfinished = Tek(one);
    std::erase(lfOnly, '\r');
    unfinished.resize(unfinished.size() - 2);  // line 500 without CR LF
    const std::vector<int64_t> flat(kSamples, 100);
    const std::string good = Dso(flat);
    const std::vector<std::tuple<std::string, std::string, int>> files = {
        {"nrp.dso", Dso(flat, "V", "s", "2500"), 0}, {"t.dso", "DSO\r\nYUN:V;YMU:1;\r\n", 0},
        {"t.csv", Tek(one, 499), 0}, {"u.csv", unfinished, 0}, {"lf.csv", lfOnly, 0},
        {"s.csv", Tek([](int j) { return j == 550 ? "1;" : "1"; }, 600), 0},
        {"cr.csv", Tek([](int j) { return j == 9 ? "1\r;" : "1"; }), 0},
        {"big.csv", Tek([](int j) { return j ? "1" : "-1e18"; }), 0}, {"missing.dso", "", 0},
        {"a.Dso", good, kImportNotHandled}, {"a.DSO", good, 1}};
    for (const auto& [name, bytes, result] : files) {
        HostedDoc h;
        FillPlot(h.doc.Source(), 1, [](int j) { return j % 200; });
        const auto before = h.doc.SaveToBytes();
        const std::string path = TestDir("import-bad") + "/" + name;
        if (name != "missing.dso") WriteBytes(path, bytes);
        EXPECT_EQ(ImportFile(h.doc, path, 2), result) << name;
        const auto expected = result == 1 ? std::tuple(false, true, 1) : std::tuple(true, false, 0);
        EXPECT_EQ(std::tuple(h.doc.SaveToBytes() == before, h.doc.IsModified(), h.host.view.redraws), expected) << name;
    }
}
