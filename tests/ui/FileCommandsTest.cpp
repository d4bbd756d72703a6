#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "app/CommandIds.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
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

std::string Head(const std::string& path, size_t n) {
    const std::vector<uint8_t> b = FileBytes(path);
    return std::string(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(std::min(n, b.size())));
}

}  // namespace

// A name typed without an extension gets the chosen filter's: under "Pliki PCX" c is a
// picture, c.pcx. A typed extension still decides, whatever the filter.
TEST_F(ViewDialogs, FileDialogsImportAndExport) {
    const std::string dir = TestDir("view_files");
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 2; });
    QStringList filters;
    const std::tuple<int, const char*, const char*> exports[] = {
        {0, "/a", "/a.csv"}, {1, "/b", "/b.CSV"}, {2, "/c", "/c.pcx"}, {2, "/t.csv", "/t.csv"}};
    for (auto [filter, typed, written] : exports) {
        Run(ID_EXPORT, [&](QDialog& d) {
            filters = static_cast<QFileDialog&>(d).nameFilters();
            ChooseInDialog(d, filter, dir + typed);
        });
        EXPECT_FALSE(FileBytes(dir + written).empty()) << written;
    }
    EXPECT_EQ(filters,
              QStringList({"Pliki CSV Excel (*.csv)", "Pliki CSV Tektronix 460A (*.CSV)", "Pliki PCX (*.pcx)"}));
    EXPECT_EQ(Head(dir + "/a.csv", 16), "0,000000000000;0");  // the spreadsheet form
    EXPECT_EQ(Head(dir + "/b.CSV", 8), "-2.00000");          // Tektronix rows from -250 * 8 * 1 ms
    EXPECT_EQ(Head(dir + "/c.pcx", 4), "\x0A\x05\x01\x08");
    EXPECT_EQ(FileBytes(dir + "/t.csv"), FileBytes(dir + "/a.csv"));
    ASSERT_TRUE(view.BackBitmap());
    EXPECT_EQ(view.BackBitmap()->size(), QSize(900, 500));  // after the picture, the window's own again

    // The plot question follows; "Wykres 2" reads into plot 2.
    WriteBytes(dir + "/in.DSO", "DSO-1\r\nYUN:mV;YMU:1;\r\nXIN:1;XUN:s;NRP:4000;\r\n" + std::string(4000 * 4, ','));
    Run(ID_IMPORT, [&](QDialog& d) {
        filters = static_cast<QFileDialog&>(d).nameFilters();
        QTimer::singleShot(0, [this] {
            auto* choose = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(choose);
            EXPECT_EQ(choose->windowTitle(), "Wybierz wykres");
            Click(*choose, "1052");
            Click(*choose, "IDOK");
        });
        ChooseInDialog(d, 1, dir + "/in");
    });
    EXPECT_EQ(filters, QStringList({"Pliki CSV Tektronix 460A (*.CSV *.csv)", "Pliki DSO (*.DSO *.dso)"}));
    EXPECT_EQ(doc.Source().m_nPresent, 3);
    EXPECT_EQ(doc.Source().m_ampScale2.exponent, -1);
    EXPECT_TRUE(doc.IsModified());

    // A refused file is said so; a name no form reads asks nothing.
    WriteBytes(dir + "/bad.DSO", "DSO-1\r\nCH1\r\nNRP:12;\r\n");
    QString next = QString::fromStdString(dir + "/bad.DSO");
    view.m_promptFile = [&](QString& path, bool) { return path = next, true; };
    Run(ID_IMPORT, [&](QDialog& d) { Click(d, "IDOK"); });
    ASSERT_EQ(host.messages.boxes.size(), 1u);
    EXPECT_EQ(host.messages.boxes[0].text, "Nieprawidłowy format pliku");
    next = QString::fromStdString(dir + "/in.txt");
    bool asked = false;
    Run(ID_IMPORT, [&](QDialog& d) { asked = true, d.reject(); });
    EXPECT_FALSE(asked);
}
