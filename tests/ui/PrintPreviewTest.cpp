#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <algorithm>
#include <vector>

#include "data/CKivDoc.h"
#include "support/PlotFill.h"
#include "view/ui/CPrintPreview.h"

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
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* page) { EXPECT_TRUE(PaintPreviewPage(doc, *page)); });
    preview.resize(600, 600);
    preview.show();
    preview.updatePreview();
    ASSERT_LT(preview.zoomFactor(), 0.7);
    const QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);

    constexpr QRgb kGrid = qRgb(80, 80, 80), kPlot1 = qRgb(50, 150, 255), kPlot2 = qRgb(255, 0, 128);
    std::vector<int> rows(shot.height()), columns(shot.width());
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == kGrid) ++rows[y], ++columns[x];
    // Grid lines: rows and columns mostly grey (the curves cross them here and there).
    const int longestRow = *std::max_element(rows.begin(), rows.end());
    const int longestColumn = *std::max_element(columns.begin(), columns.end());
    std::vector<int> gridRows, gridColumns;
    for (int y = 0; y < shot.height(); ++y)
        if (rows[y] > longestRow / 2) gridRows.push_back(y);
    for (int x = 0; x < shot.width(); ++x)
        if (columns[x] > longestColumn / 2) gridColumns.push_back(x);
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
