// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "app/CommandIds.h"
#include "support/DataFixture.h"
#include "support/PlotFill.h"
#include "support/ViewFixture.h"

namespace {

// As a user does it in the real dialog: the filter picked with the arrow keys, the name typed.
void ChooseInDialog(QDialog& d, int filter, const std::string& name) {
    auto* combo = d.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_TRUE(combo);
    for (int k = 0; k < filter; ++k) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(combo, &down);
    }
    EXPECT_EQ(combo->currentIndex(), filter);
    d.findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(name));
    QTimer::singleShot(0, [] {  // a refusal ("no such file") would wait for an answer
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
    });
    d.accept();
    if (d.isVisible()) d.reject();
}

}  // namespace

// A name typed without an extension gets the chosen filter's: under "Pliki PCX" c is a
// picture, c.pcx. A typed extension still decides, whatever the filter.
TEST_F(ViewDialogs, FileDialogsImportAndExport) {
    const std::string dir = TestDir("view_files");
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 2; });
    QStringList filters;
    // The export proposes the document's name, less its extension; each dialog is titled as its command.
    commands.m_strTitle = QStringLiteral("pomiar.kiv");
    QStringList titles;
    // Filter, name typed, file written and how it starts: a spreadsheet row, a Tektronix row
    // from -250 * 8 * 1 ms, a PCX header, a zip, a PNG.
    const std::tuple<int, const char*, const char*, std::string> exports[] = {
        {0, "/a", "/a.csv", "0,000000000000;0"}, {1, "/b", "/b.CSV", "-2.00000"},
        {2, "/c", "/c.pcx", "\x0A\x05\x01\x08"}, {2, "/t.csv", "/t.csv", "0,000000000000;0"},
        {3, "/s", "/s.sr", "PK\x03\x04"},        {4, "/p", "/p.png", "\x89PNG"}};
    for (const auto& [filter, typed, written, head] : exports) {
        Run(ID_EXPORT, [&](QDialog& d) {
            filters = static_cast<QFileDialog&>(d).nameFilters();
            titles = {d.windowTitle(), d.findChild<QLineEdit*>("fileNameEdit")->text()};
            ChooseInDialog(d, filter, dir + typed);
        });
        EXPECT_EQ(FileText(dir + written).substr(0, head.size()), head) << written;
    }
    EXPECT_EQ(filters,
              QStringList({"Pliki CSV Excel (*.csv)", "Pliki CSV Tektronix 460A (*.CSV)", "Pliki PCX (*.pcx)",
                           "Sesja sigrok (*.sr)", "Obraz PNG (*.png)", "Grafika SVG (*.svg)", "Dokument PDF (*.pdf)"}));
    EXPECT_EQ(titles, QStringList({"Eksportuj", "pomiar"}));
    ASSERT_TRUE(view.BackBitmap());
    EXPECT_EQ(view.BackBitmap()->size(), QSize(900, 500));  // after the picture, the window's own again
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/p.png")).size(), QSize(900, 500));  // the PNG at the window's size

    // The plot question follows; "Wykres 2" reads into plot 2.
    WriteBytes(dir + "/in.DSO", "DSO-1\r\nYUN:mV;YMU:1;\r\nXIN:1;XUN:s;NRP:4000;\r\n" + std::string(4000 * 4, ','));
    Run(ID_IMPORT, [&](QDialog& d) {
        filters = static_cast<QFileDialog&>(d).nameFilters();
        titles = {d.windowTitle()};
        Answer([](QDialog& choose) {
            EXPECT_EQ(choose.windowTitle(), "Wybierz wykres");
            Click(choose, "1052");
            Click(choose, "IDOK");
        });
        ChooseInDialog(d, 1, dir + "/in");
    });
    EXPECT_EQ(filters, QStringList({"Pliki CSV Tektronix 460A (*.CSV *.csv)", "Pliki DSO (*.DSO *.dso)",
                                    "Sesja sigrok (*.sr)"}));
    EXPECT_EQ(titles, QStringList({"Importuj"}));
    EXPECT_EQ(std::pair(doc.Source().m_nPresent, doc.Source().m_ampScale2.exponent), std::pair(uint8_t{3}, -1));

    // A refused file is said so; a name no form reads asks nothing.
    WriteBytes(dir + "/bad.DSO", "DSO-1\r\nCH1\r\nNRP:12;\r\n");
    QString next = QString::fromStdString(dir + "/bad.DSO");
    commands.m_promptFile = [&](QString& path, bool) { return path = next, true; };
    Run(ID_IMPORT, [&](QDialog& d) { Click(d, "IDOK"); });
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, "Nieprawidłowy format pliku");
    next = QString::fromStdString(dir + "/in.txt");
    bool asked = false;
    Run(ID_IMPORT, [&](QDialog& d) { asked = true, d.reject(); });
    EXPECT_FALSE(asked);
}
