#include <gtest/gtest.h>

#include <filesystem>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "data/CFileForms.h"
#include "data/CKivDoc.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

std::string Path(const std::string& name) {
    static const std::string dir = TestDir("export");
    return dir + "/" + name;
}

std::vector<std::string> Rows(const std::string& path) {
    const auto b = FileBytes(path);
    const std::string text(b.begin(), b.end());
    std::vector<std::string> rows;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        rows.push_back(text.substr(at, end - at));
    return rows;
}

// Rows of the file written by the export, without their CR LF.
std::vector<std::string> Export(CKivDoc& doc, const std::string& name) {
    EXPECT_EQ(ExportDocument(doc, Path(name)), 1);
    return Rows(Path(name));
}

const AxisScale kTime1024 = {0, 's', 1.0 / 1024};  // 8 samples = 1/128 s: every time exact

}  // namespace

// One curve: time and value, each with twelve decimals after a comma and a ";" (row 0 of
// a plain volt curve is kivtool's test). Millivolts and milliseconds are written as volts
// and seconds; the time is summed step by step, so the last row is short of 3999 * 0.002.
TEST(ExportCsv, SpreadsheetRows) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, {-1, 's', 2}, {-1, 'V', 0.5});
    const auto rows = Export(doc, "a.csv");
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
}

TEST(ExportCsv, TektronixRowsAndRoundTrip) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 150; }, kTime1024, {0, 'V', 0.02});
    FillPlot(doc.Source(), 2, [](int i) { return i % 200; }, kTime1024);  // both on: the first is written
    doc.DataChanged();
    auto rows = Export(doc, "a.CSV");
    ASSERT_EQ(rows.size(), 500u);
    for (const std::string& row : rows) ASSERT_EQ(row.substr(row.find(',')), ",1.000000000000");
    EXPECT_EQ(std::vector<std::string>({rows[0], rows[249], rows[250], rows[499]}),
              std::vector<std::string>({"-1.953125000000,1.000000000000", "-0.007812500000,1.000000000000",
                                        "0.007812500000,1.000000000000", "1.953125000000,1.000000000000"}));
    // Through the importer: each row is the mean of its eight samples (here one code
    // below and one above alternately), groups reaching 75 codes come back as they were.
    auto code = [](int i) { return 25 + (i / 8) % 151; };
    CKivDoc source, target;
    FillPlot(source.Source(), 1, [&](int i) { return code(i) + (i % 2 ? 1 : -1); }, kTime1024, {0, 'V', 2});
    Export(source, "a.CSV");
    ASSERT_EQ(ImportFile(target, Path("a.CSV"), 2), 1);
    for (int i = 0; i < kSamples; ++i) ASSERT_EQ(target.Source().m_nRaw2[i], code(i)) << i;
    EXPECT_EQ(target.Source().m_timeScale2.step, 1.953125 * 0.0005);
}

namespace {

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

std::vector<std::string> Names(const auto& forms) {
    std::vector<std::string> names;
    for (const auto* f : forms) names.push_back(f->Name());
    return names;
}

}  // namespace

// One table of forms: kivtool's names, the extensions, forms added from outside the core.
// The view redraws after every export, as a picture form rendered at 800 x 600.
TEST(ExportForms, TableNamesPicturesAndFailures) {
    EXPECT_EQ(Names(CFileForms::Exports()), std::vector<std::string>({"spreadsheet", "tek", "pcx", "harmonics"}));
    EXPECT_EQ(Names(CFileForms::Imports()), std::vector<std::string>({"tek", "dso"}));
    const std::string dir = TestDir("export-ext");
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    int renders = 0;
    auto picture = [&] { return ++renders, RgbPicture{800, 600, std::vector<uint32_t>(800 * 600, 0xFFFFFF)}; };
    for (const char* name : {"/e.csv", "/e.CSV"}) EXPECT_EQ(ExportDocument(doc, dir + name, picture), 1);
    EXPECT_EQ(FileBytes(dir + "/e.csv").size(), 0u);  // no plot on: created empty
    EXPECT_EQ(FileBytes(dir + "/e.CSV").size(), 0u);
    EXPECT_EQ(renders, 0);  // only a picture form renders
    FillPlot(doc.Source(), 1, [](int i) { return i % 2 ? 150 : 100; });
    for (const char* name : {"/a.PCX", "/a.txt", "/a"}) EXPECT_EQ(ExportDocument(doc, dir + name, picture), 0);
    EXPECT_EQ(ExportDocument(doc, dir + "/n.pcx"), 0);  // no picture to be had
    EXPECT_EQ(ExportDocument(doc, dir + "/a.pcx", picture), 1);
    // By name, whatever the extension: the harmonics table from the original mode.
    ASSERT_EQ(ExportDocument(doc, dir + "/h.txt", *CFileForms::ExportNamed("harmonics")), 1);
    EXPECT_EQ(Rows(dir + "/h.txt").at(0), "wykres z kana\xb3u 1");
    EXPECT_EQ(CFileForms::ExportNamed("PCX"), nullptr);
    CFileForms::AddExport(std::make_unique<CProbeForm>());
    CFileForms::AddExport(std::make_unique<CProbeForm>());  // one form per name
    EXPECT_EQ(Names(CFileForms::Exports()).back(), "probe");
    EXPECT_EQ(CFileForms::Exports().size(), 5u);
    ASSERT_EQ(ExportDocument(doc, dir + "/a.prb", picture), 1);
    EXPECT_EQ(FileBytes(dir + "/a.prb"), std::vector<uint8_t>({'6', '0', '0'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 5);

    for (const char* name : {"/no/a.CSV", "/no/a.pcx", "/no/a.csv"})
        EXPECT_EQ(ExportDocument(doc, dir + name, picture), 0) << name;
    ASSERT_EQ(host.messages.boxes.size(), 1u);  // the spreadsheet form only
    const auto& box = host.messages.boxes[0];
    EXPECT_EQ(box.text, "Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!");
    EXPECT_EQ(box.caption, "UWAGA !");
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(host.view.redraws, 12);
}
