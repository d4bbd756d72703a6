// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <vector>

#include "document/CKivDoc.h"
#include "support/PlotFill.h"
#include "support/TestFiles.h"
#include "app/ui/CViewCommands.h"
#include "view/ui/CKivView.h"
#include "view/ui/CPrintPreview.h"

namespace {

constexpr QRgb kPaper = qRgb(255, 255, 255), kGrid = qRgb(80, 80, 80);
constexpr QRgb kPlot1 = qRgb(50, 150, 255), kPlot2 = qRgb(255, 0, 128);

// A4 portrait without margins.
void SetA4(QPrinter& printer) {
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

bool RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

}  // namespace

// Page of HR x VR: the picture is 2/3 of the width high unless the page is at least
// 1.5 times wider than high; then it takes the whole height.
TEST(PrintPage, OnePageWithThePictureStretchedToThePageWidth) {
    for (auto [hr, vr, h] : {std::tuple{4800, 6600, 3200}, {5999, 4000, 3999}, {6600, 4000, 4000}})
        EXPECT_EQ(CPlotRenderer::PrintedHeight(hr, vr), h) << hr << " x " << vr;
    CKivDoc doc;
    FillPlot(doc.Source(), 1, [](int i) { return 100 + (i / 200 % 2 ? 60 : -60); });
    CKivView view(&doc);
    CViewCommands commands(view);
    view.resize(640, 480);
    view.UpdatePicture();
    const QString pdf = QString::fromStdString(TestDir("PrintPage") + "/page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdf);
    SetA4(printer);
    ASSERT_TRUE(commands.PrintPage(printer));
    // Printed on white; the screen keeps black and renders again at its own size.
    EXPECT_EQ(std::tuple(view.WhiteBackground(), view.RedrawPending()), std::tuple(false, true));

    // One page: pdftoppm (poppler-utils) writes page.pdf-1.png and nothing more.
    ASSERT_TRUE(RunTool("pdftoppm", {"-r", "150", "-png", pdf, pdf}));
    EXPECT_FALSE(QFile::exists(pdf + "-2.png"));
    const QImage page = QImage(pdf + "-1.png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    const double W = page.width(), hp = W * 2.0 / 3.0;  // page width, picture height on the page
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
    for (auto [x, y] : {std::pair{114.0, 250.0}, {790.0, 50.0}}) EXPECT_FALSE(inked(x, y)) << x << "," << y;
    for (int y = int(hp) + 2; y < page.height(); y += 7)
        for (int x = 0; x < W; x += 3) ASSERT_EQ(page.pixel(x, y), kPaper) << x << "," << y;
}

// The preview widget at its default zoom (the whole A4 page in view, about half size)
// shows the page drawn by PaintPreviewPage. Every one of the nine grid rows and eleven
// grid columns is there as one unbroken screen line, and both curves run the whole
// width of the plot: the stretched 800 x 600 bitmap loses most of them at this size.
TEST(PrintPreview, EveryLineShowsAtTheDefaultZoom) {
    CKivDoc doc;
    // Square waves whose edges and levels keep clear of the grid.
    FillPlot(doc.Source(), 1, [](int i) { return 100 + ((i + 100) / 200 % 2 ? 60 : -60); });
    FillPlot(doc.Source(), 2, [](int i) { return 100 + ((i + 50) / 100 % 2 ? 30 : -30); });
    QPrinter printer(QPrinter::HighResolution);
    SetA4(printer);
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* page) { EXPECT_TRUE(PaintPreviewPage(doc, *page)); });
    preview.resize(600, 600);
    preview.show();
    preview.updatePreview();
    ASSERT_LT(preview.zoomFactor(), 0.7);
    const QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);

    std::vector<int> rows(shot.height()), columns(shot.width());
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == kGrid) ++rows[y], ++columns[x];
    // Grid lines: rows and columns mostly grey (the curves cross them here and there).
    auto lines = [](const std::vector<int>& counts) {
        std::vector<int> at;
        const int longest = *std::max_element(counts.begin(), counts.end());
        for (int i = 0; i < int(counts.size()); ++i)
            if (counts[i] > longest / 2) at.push_back(i);
        return at;
    };
    const std::vector<int> gridRows = lines(rows), gridColumns = lines(columns);
    ASSERT_EQ(gridRows.size(), 9u);
    ASSERT_EQ(gridColumns.size(), 11u);
    const int x0 = gridColumns.front(), x1 = gridColumns.back();
    // The page keeps the printed proportions: 680 x 530 of an 800-wide picture 2/3
    // of the page width high.
    const double ratio = double(gridRows.back() - gridRows.front()) / (x1 - x0);
    EXPECT_NEAR(ratio, 530.0 / 600 * 2 / 3 / (680.0 / 800), 0.02);

    // Each curve in every twentieth of the plot's width.
    for (QRgb colour : {kPlot1, kPlot2}) {
        std::vector<bool> seen(20);
        for (int y = gridRows.front(); y <= gridRows.back(); ++y)
            for (int x = x0; x < x1; ++x)
                if (shot.pixel(x, y) == colour) seen[(x - x0) * 20 / (x1 - x0)] = true;
        for (int i = 0; i < 20; ++i) EXPECT_TRUE(seen[i]) << std::hex << colour << std::dec << " part " << i;
    }
}
