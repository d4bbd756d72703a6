#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

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

}  // namespace

// Page of HR x VR: the picture is 2/3 of the width high unless the page is at least
// 1.5 times wider than high; then it takes the whole height.
TEST(PrintPage, PrintedHeight) {
    EXPECT_EQ(CKivView::PrintedHeight(4800, 6600), 3200);
    EXPECT_EQ(CKivView::PrintedHeight(5999, 4000), 3999);
    EXPECT_EQ(CKivView::PrintedHeight(6600, 4000), 4000);
}

TEST(PrintPage, OnePageWithThePictureStretchedToThePageWidth) {
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i / 200 % 2 ? 60 : -60); });
    CKivView view(&doc);
    view.resize(640, 480);
    view.UpdatePicture();
    const QString pdf = QString::fromStdString(TestDir("PrintPage") + "/page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    ASSERT_TRUE(view.PrintPage(printer));
    // Printed on white; the screen keeps black and renders again at its own size.
    EXPECT_EQ(std::tuple(view.m_bWhiteBackground, view.m_bRedraw), std::tuple(0, 1));

    const QString info = RunTool("pdfinfo", {pdf});
    ASSERT_FALSE(info.isEmpty()) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    RunTool("pdftoppm", {"-r", "150", "-png", "-singlefile", pdf, pdf});
    const QImage page = QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    const int W = page.width();
    const double hp = W * 2.0 / 3.0;  // picture height on the page
    constexpr QRgb kPaper = qRgb(255, 255, 255);
    // Something drawn within a page pixel of where the stretched picture puts (x, y).
    auto inked = [&](double x, double y) {
        const int px = int((x + 0.5) * W / 800), py = int((y + 0.5) * hp / 600);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (page.pixel(px + dx, py + dy) != kPaper) return true;
        return false;
    };
    // Grid rows and columns away from the curve (y = 127 and 445, edges x = 96, 132),
    // white between them and right of the plot; below the picture the page is blank.
    for (double y : {20.0, 285.0, 550.0}) EXPECT_TRUE(inked(114, y)) << y;
    for (double x : {60.0, 420.0, 780.0}) EXPECT_TRUE(inked(x, 50)) << x;
    EXPECT_FALSE(inked(114, 250) || inked(790, 50));
    for (int y = int(hp) + 2; y < page.height(); y += 7)
        for (int x = 0; x < W; x += 3) ASSERT_EQ(page.pixel(x, y), kPaper) << x << "," << y;
}
