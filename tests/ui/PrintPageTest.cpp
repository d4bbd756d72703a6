#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include "app/CommandIds.h"
#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
#include "view/ui/CKivView.h"

namespace {

QString RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The grid's (80, 80, 80), blended with the white around it by the rasteriser's scaling:
// a clearly dark neutral grey.
bool IsGrid(QRgb c) {
    return qRed(c) < 200 && qAbs(qRed(c) - qGreen(c)) < 8 && qAbs(qRed(c) - qBlue(c)) < 8;
}

}  // namespace

// Page of HR x VR: the picture takes 2/3 of the width in height unless the page is at
// least 1.5 times wider than high; then the whole height.
TEST(PrintPage, PrintedHeight) {
    EXPECT_EQ(CKivView::PrintedHeight(4800, 6600), 3200);
    EXPECT_EQ(CKivView::PrintedHeight(6600, 4800), 4400);
    EXPECT_EQ(CKivView::PrintedHeight(5999, 4000), 3999);
    EXPECT_EQ(CKivView::PrintedHeight(6000, 4000), 4000);
}

TEST(PrintPage, OnePageWithThePictureStretchedToThePageWidth) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i / 200 % 2 ? 60 : -60); });
    CKivView view(&doc);
    view.resize(640, 480);
    view.UpdatePicture();

    const std::string dir = TestDir("PrintPage");
    const QString pdf = QString::fromStdString(dir + "/page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    ASSERT_TRUE(view.PrintPage(printer));

    // Printed on white; the screen keeps black and renders again at its own size.
    EXPECT_EQ(view.m_bWhiteBackground, 0);
    EXPECT_EQ(view.m_bRedraw, 1);
    ASSERT_NE(view.BackBitmap(), nullptr);
    EXPECT_EQ(view.BackBitmap()->size(), QSize(800, 600));

    const QString info = RunTool("pdfinfo", {pdf});
    ASSERT_FALSE(info.isEmpty()) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();

    const QString png = QString::fromStdString(dir + "/page");
    RunTool("pdftoppm", {"-r", "150", "-png", "-singlefile", pdf, png});
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    const int W = page.width();
    const double hp = W * 2.0 / 3.0;  // picture height on the page
    ASSERT_GT(page.height(), hp * 1.3);
    auto at = [&](double xPic, double yPic) {
        return QPoint(int((xPic + 0.5) * W / 800), int((yPic + 0.5) * hp / 600));
    };
    // A one-pixel line may land a page pixel either side of its ideal place.
    auto gridNear = [&](QPoint p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (IsGrid(page.pixel(p.x() + dx, p.y() + dy))) return true;
        return false;
    };
    // Grid rows and columns where the stretched picture puts them (the curve runs
    // at y = 127 and 445 there, its edges at x = 96 and 132).
    for (double y : {20.0, 285.0, 550.0}) EXPECT_TRUE(gridNear(at(114, y))) << y;
    for (double x : {60.0, 420.0, 780.0}) EXPECT_TRUE(gridNear(at(x, 50))) << x;
    EXPECT_EQ(page.pixel(at(114, 250)), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(at(790, 50)), qRgb(255, 255, 255));
    // Not kept at 4:3: there the bottom grid line would lie lower.
    EXPECT_FALSE(gridNear(QPoint(int(114.5 * W / 800), int(550.5 * W * 0.75 / 600))));
    // Below the picture the page is blank.
    for (int y = int(hp) + 2; y < page.height(); y += 7)
        for (int x = 0; x < W; x += 3) ASSERT_EQ(page.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

// "Podgląd wydruku" shows the one page the view prints.
TEST(PrintPage, PreviewShowsOnePage) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + i % 50; });
    CKivView view(&doc);
    view.resize(640, 480);
    view.show();
    int pages = -1;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
        dialog->close();
    });
    CmdState state;
    ASSERT_TRUE(view.OnUpdateCommand(ID_FILE_PRINT_PREVIEW, state));
    EXPECT_TRUE(state.enabled);
    EXPECT_TRUE(view.OnCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(view.m_bWhiteBackground, 0);
}
