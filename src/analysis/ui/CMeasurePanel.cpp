#include "analysis/ui/CMeasurePanel.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstring>

#include "analysis/Measurements.h"
#include "platform/ui/KivLanguage.h"

namespace {

constexpr int kMargin = 6, kGap = 10;
// Looked up when used: the translation is loaded after static start-up.
QString Title() { return KivTr("Kiv", "Pomiary"); }

QColor Background() { return QGuiApplication::palette().window().color(); }
QColor Ink() { return QGuiApplication::palette().windowText().color(); }

// Copies the rows of src that fit into an RGB32 frame whose pixels start at bits, at (x, y).
// The frame's pixels are taken once: each scanLine() of a QImage checks for sharing again.
void Blit(uchar* bits, qsizetype stride, QSize frame, const QImage& src, int x, int y) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + src.width(), frame.width()), y1 = std::min(y + src.height(), frame.height());
    if (x0 >= x1 || y0 >= y1) return;
    const size_t bytes = static_cast<size_t>(x1 - x0) * 4;
    const uchar* from = src.constBits() + (y0 - y) * src.bytesPerLine() + (x0 - x) * 4;
    uchar* to = bits + y0 * stride + x0 * 4;
    for (int row = y0; row < y1; ++row, from += src.bytesPerLine(), to += stride) std::memcpy(to, from, bytes);
}

}  // namespace

CMeasurePanel::CMeasurePanel() : m_font(QGuiApplication::font()), m_bold(m_font) {
    const QFontMetrics fm(m_font);
    m_ascent = fm.ascent();
    m_lineHeight = fm.height();
    m_bold.setBold(true);
    const QFontMetrics title(m_bold);
    m_titleWidth = title.horizontalAdvance(Title());
    m_titleAscent = title.ascent();
    m_top = kMargin + title.height() + kMargin / 2;
}

const QImage& CMeasurePanel::Tile(QChar c) {
    auto it = m_tiles.find(c.unicode());
    if (it != m_tiles.end()) return it->second;
    QImage tile(std::max(QFontMetrics(m_font).horizontalAdvance(c), 1), m_lineHeight, QImage::Format_RGB32);
    tile.fill(Background());
    QPainter p(&tile);
    p.setFont(m_font);
    p.setPen(Ink());
    p.drawText(0, m_ascent, QString(c));
    return m_tiles.emplace(c.unicode(), std::move(tile)).first->second;
}

int CMeasurePanel::FigureWidth(const QString& text) {
    int width = 0;
    for (QChar c : text) width += Tile(c).width();
    return width;
}

void CMeasurePanel::Show(const ModeMeasurements& m) {
    std::string text = MeasureTableText(m, true);
    if (m.Rows().empty()) text = KivTr("Kiv", "Brak pomiarów w tym trybie").toStdString() + "\n";
    if (text == m_text) return;
    m_text = std::move(text);
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromStdString(m_text).split('\n', Qt::SkipEmptyParts))
        rows.push_back(line.split('\t'));
    // The table's names are the core's Polish ones: the headings row and the first column.
    for (QString& cell : rows[0]) cell = KivTr("Kiv", cell.toUtf8().constData());
    for (QStringList& row : rows) row[0] = KivTr("Kiv", row[0].toUtf8().constData());
    const size_t columns = static_cast<size_t>(rows[0].size());
    // Names and headings (the first row and column): shaped text in the picture.
    QStringList fixed = rows[0];
    for (const QStringList& row : rows) fixed.push_back(row[0]);
    const QFontMetrics fm(m_font);
    if (columns != m_widths.size() || fixed != m_fixed) {  // another table: its names measured once
        m_widths.assign(columns, 0);
        for (size_t c = 0; c < columns; ++c) m_widths[c] = fm.horizontalAdvance(rows[0][static_cast<qsizetype>(c)]);
        for (const QStringList& row : rows) m_widths[0] = std::max(m_widths[0], fm.horizontalAdvance(row[0]));
    }
    std::vector<int> widths = m_widths;
    std::vector<int> figureWidths;  // row by row
    for (size_t r = 1; r < rows.size(); ++r)
        for (size_t c = 1; c < columns && c < static_cast<size_t>(rows[r].size()); ++c) {
            figureWidths.push_back(FigureWidth(rows[r][static_cast<qsizetype>(c)]));
            widths[c] = std::max(widths[c], figureWidths.back());
        }
    int width = 2 * kMargin + kGap * static_cast<int>(columns - 1);
    for (int w : widths) width += w;
    width = std::max(width, 2 * kMargin + m_titleWidth);
    const int top = m_top;
    const QSize size(width, top + m_lineHeight * static_cast<int>(rows.size()) + kMargin);

    // Names left, figures right, as a table of figures reads.
    auto left = [&](size_t c) {
        int x = kMargin;
        for (size_t i = 0; i < c; ++i) x += widths[i] + kGap;
        return x;
    };
    m_figures.clear();
    size_t next = 0;
    for (size_t r = 1; r < rows.size(); ++r)
        for (size_t c = 1; c < columns && c < static_cast<size_t>(rows[r].size()); ++c)
            m_figures.push_back({rows[r][static_cast<qsizetype>(c)],
                                 {left(c) + widths[c] - figureWidths[next++],
                                     top + m_lineHeight * static_cast<int>(r)}});
    if (widths == m_widths && fixed == m_fixed && size == m_picture.size()) return;
    m_widths = widths;
    m_fixed = fixed;
    // A raised panel in the desktop's colours, as the cursor read-outs are.
    const QPalette palette = QGuiApplication::palette();
    m_picture = QImage(size, QImage::Format_RGB32);
    m_picture.fill(palette.window().color());
    QPainter p(&m_picture);
    p.setPen(palette.light().color());
    p.drawLine(0, 0, size.width() - 1, 0);
    p.drawLine(0, 0, 0, size.height() - 1);
    p.setPen(palette.dark().color());
    p.drawLine(size.width() - 1, 0, size.width() - 1, size.height() - 1);
    p.drawLine(0, size.height() - 1, size.width() - 1, size.height() - 1);
    p.setPen(palette.windowText().color());
    p.setFont(m_bold);
    p.drawText(kMargin, kMargin + m_titleAscent, Title());
    p.setFont(m_font);
    for (size_t r = 0; r < rows.size(); ++r) {
        const int baseline = top + m_lineHeight * static_cast<int>(r) + m_ascent;
        p.drawText(kMargin, baseline, rows[r][0]);
        if (r == 0)
            for (size_t c = 1; c < columns; ++c) {
                const QString& head = rows[0][static_cast<qsizetype>(c)];
                p.drawText(left(c) + widths[c] - fm.horizontalAdvance(head), baseline, head);
            }
    }
}

void CMeasurePanel::Paint(QImage& frame, QPoint topLeft) const {
    if (m_picture.isNull()) return;
    uchar* bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    Blit(bits, stride, frame.size(), m_picture, topLeft.x(), topLeft.y());
    for (const Figure& f : m_figures) {
        int x = topLeft.x() + f.at.x();
        for (QChar c : f.text) {
            const QImage& tile = m_tiles.at(c.unicode());  // made when the figure was laid out
            Blit(bits, stride, frame.size(), tile, x, topLeft.y() + f.at.y());
            x += tile.width();
        }
    }
}

void CMeasurePanel::CopyToClipboard() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(TableText());
}
