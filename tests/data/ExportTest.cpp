#include <gtest/gtest.h>

#include <filesystem>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "data/CKivDoc.h"
#include "data/CPcxEncoder.h"
#include "support/FakePlatform.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"

namespace {

std::string Path(const std::string& name) {
    static const std::string dir = TestDir("export");
    return dir + "/" + name;
}

// Rows of the file written by the export, without their CR LF.
std::vector<std::string> Export(CKivDoc& doc, const std::string& name) {
    EXPECT_EQ(ExportDocument(doc, Path(name), nullptr), 1);
    const auto b = FileBytes(Path(name));
    const std::string text(b.begin(), b.end());
    std::vector<std::string> rows;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        rows.push_back(text.substr(at, end - at));
    return rows;
}

const AxisScale kTime1024 = {0, 's', 1.0 / 1024};  // 8 samples = 1/128 s: every time exact

}  // namespace

TEST(ExportCsv, SpreadsheetRows) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int) { return 175; });
    auto rows = Export(doc, "a.csv");
    ASSERT_EQ(rows.size(), 4000u);
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 2),
              std::vector<std::string>({"0,000000000000;1,500000000000;", "0,001000000000;1,500000000000;"}));
    // Millivolts and milliseconds are written as volts and seconds; the time is summed
    // step by step, so the last row is short of 3999 * 0.002.
    FillPlot(doc.Source(), 1, [](int) { return 150; }, {-1, 's', 2}, {-1, 'V', 0.5});
    doc.DataChanged();
    rows = Export(doc, "a.csv");
    EXPECT_TRUE(rows.at(1) == "0,002000000000;0,025000000000;" && rows.at(3999) == "7,997999999999;0,025000000000;");
    // Both plots on: two value columns, also in a mode that shows one curve.
    FillPlot(doc.Source(), 2, [](int) { return 50; }, {-1, 's', 2}, {0, 'V', 0.02});
    doc.DataChanged();
    EXPECT_EQ(Export(doc, "a.csv").at(0), "0,000000000000;0,025000000000;-1,000000000000");
    doc.m_currentMode = kModeSum;
    for (const std::string& row : Export(doc, "a.csv"))
        ASSERT_TRUE(std::count(row.begin(), row.end(), ';') == 2 && row.back() != ';') << row;
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
    Export(source, "a.csv");  // the spreadsheet form is not a Tektronix file
    EXPECT_EQ(ImportFile(target, Path("a.csv"), 1), 0);
}

TEST(ExportCsv, FormByExtensionAndFailures) {
    const std::string dir = TestDir("export-ext");
    FakeHost host;
    CKivDoc doc(host.Platform());
    doc.SetView(&host.view);
    RgbPicture picture{800, 600, std::vector<uint32_t>(800 * 600, 0xFFFFFF)};
    for (const char* name : {"/e.csv", "/e.CSV"}) EXPECT_EQ(ExportDocument(doc, dir + name, nullptr), 1);
    EXPECT_TRUE(FileBytes(dir + "/e.csv").empty() && FileBytes(dir + "/e.CSV").empty());  // no plot on
    FillPlot(doc.Source(), 1, [](int) { return 120; });
    for (const char* name : {"/a.PCX", "/a.txt", "/a"}) EXPECT_EQ(ExportDocument(doc, dir + name, &picture), 0);
    EXPECT_EQ(ExportDocument(doc, dir + "/a.pcx", &picture), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
    for (const char* name : {"/no/a.CSV", "/no/a.pcx", "/no/a.csv"}) EXPECT_EQ(ExportDocument(doc, dir + name, &picture), 0);
    ASSERT_EQ(host.messages.boxes.size(), 1u);  // the spreadsheet form only
    const auto& box = host.messages.boxes[0];
    EXPECT_TRUE(box.text == "Plik o tej nazwie nie może być zapisany. Sprawdź czy plik jest już otwarty!" &&
                box.caption == "UWAGA !" && box.icon == MsgIcon::Exclamation);
    EXPECT_EQ(host.view.redraws, 9);  // after every export: the view renders at its own size again
}
