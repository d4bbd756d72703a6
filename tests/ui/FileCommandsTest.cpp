#include <gtest/gtest.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "data/CExport.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
#include "support/ViewFixture.h"

TEST_F(ViewDialogs, ImportModeExportReopen) {
    const std::string dir = TestDir("view_import_export");
    std::string dso = "DSO-1\r\nCH1;YUN:mV;YMU:0.004;\r\nXIN:2e-3;XUN:ms;NRP:4000;\r\n";
    for (int i = 0; i < kSamples; ++i) dso += std::to_string(100 + (i / 100) % 2 * 40) + ",";
    WriteBytes(dir + "/in.dso", dso + "\r\n");
    WriteBytes(dir + "/bad.DSO", "DSO-1\r\nCH1\r\nNRP:12;\r\n");
    QString next;
    view.m_promptFile = [&](QString& path, bool) { return path = next, !next.isEmpty(); };

    next = QString::fromStdString(dir + "/in.dso");
    Run(ID_IMPORT, [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Wybierz wykres");
        Click(d, "1052");
        Click(d, "IDOK");
    });
    EXPECT_TRUE(doc.Source().m_nPresent == 2 && doc.Source().m_ampScale2.exponent == -1 && doc.IsModified());
    next = QString::fromStdString(dir + "/bad.DSO");
    Run(ID_IMPORT, [&](QDialog& d) { Click(d, "IDOK"); });
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, "Nieprawidłowy format pliku");
    next = QString::fromStdString(dir + "/in.txt");  // not a form we read: no plot question
    bool asked = false;
    Run(ID_IMPORT, [&](QDialog& d) { asked = true, d.reject(); });
    EXPECT_FALSE(asked);

    doc.OnModeCommand(ID_MODE_DERIVATIVE);
    next = QString::fromStdString(dir + "/d.csv");
    Run(ID_EXPORT, [](QDialog& d) { d.reject(); });
    const std::vector<uint8_t> csv = FileBytes(dir + "/d.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), kSamples);
    next = QString::fromStdString(dir + "/d.pcx");
    Run(ID_EXPORT, [](QDialog& d) { d.reject(); });
    const std::vector<uint8_t> pcx = FileBytes(dir + "/d.pcx");
    EXPECT_TRUE(!pcx.empty() && pcx[0] == 0x0A);
    ASSERT_TRUE(view.BackBitmap());
    EXPECT_EQ(view.BackBitmap()->size(), QSize(900, 500));  // the window's own picture again

    ASSERT_TRUE(doc.OnSaveDocument(dir + "/d.kiv"));
    CKivDoc back;
    ASSERT_TRUE(back.OnOpenDocument(dir + "/d.kiv"));
    EXPECT_EQ(back.SaveToBytes(), doc.SaveToBytes());
    EXPECT_EQ(back.m_currentMode, kModeDerivative);
    ASSERT_TRUE(ExportDocument(back, dir + "/again.csv", nullptr));
    EXPECT_EQ(FileBytes(dir + "/again.csv"), csv);
}
