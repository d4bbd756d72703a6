// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/CMeasurePanel.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstring>
#include <span>

#include "platform/TrNoop.h"
#include "qtcore/KivLanguage.h"

namespace {

constexpr int kMargin = 6, kGap = 10;
// Looked up when used: the translation is loaded after static start-up.
QString Title() { return KivTr("Kiv", "Pomiary"); }

QColor Background() { return QGuiApplication::palette().window().color(); }
QColor Ink() { return QGuiApplication::palette().windowText().color(); }

// Copies the rectangle part of src (src's coordinates), as much as fits, into an RGB32 frame
// whose pixels start at bits, with src's top-left at (x, y). The frame's pixels are taken once:
// each scanLine() of a QImage checks for sharing again.
void Blit(uchar* bits, qsizetype stride, QSize frame, const CMeasurePanel::Pixels& src, const QRect& part, int x,
          int y) {
    const QRect r = part & src.Rect() & QRect(-x, -y, frame.width(), frame.height());
    if (r.isEmpty()) return;
    const size_t bytes = static_cast<size_t>(r.width()) * 4;
    const uchar* from = src.bits + r.top() * src.bytesPerLine + r.left() * 4;
    uchar* to = bits + (y + r.top()) * stride + (x + r.left()) * 4;
    if (bytes >= 16 && bytes <= 64) {
        // A character or the column a cursor crossed: a call a row would cost more than the
        // copy. 16-byte pieces from each end, overlapping in the middle.
        for (int row = 0; row < r.height(); ++row, from += src.bytesPerLine, to += stride) {
            uchar piece[4][16];
            const size_t at[4] = {0, bytes > 32 ? size_t{16} : 0, bytes > 32 ? bytes - 32 : 0, bytes - 16};
            for (int k = 0; k < 4; ++k) std::memcpy(piece[k], from + at[k], 16);
            for (int k = 0; k < 4; ++k) std::memcpy(to + at[k], piece[k], 16);
        }
        return;
    }
    if (bytes < 16) {
        for (int row = 0; row < r.height(); ++row, from += src.bytesPerLine, to += stride)
            for (size_t b = 0; b < bytes; b += 4) std::memcpy(to + b, from + b, 4);
        return;
    }
    for (int row = 0; row < r.height(); ++row, from += src.bytesPerLine, to += stride) std::memcpy(to, from, bytes);
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

const CMeasurePanel::Pixels& CMeasurePanel::Tile(char16_t c) {
    Picture* tile = nullptr;
    if (c < kDirectTiles) {
        if (m_tiles.empty()) m_tiles.resize(kDirectTiles);
        tile = &m_tiles[c];
    } else {
        tile = &m_otherTiles[c];
    }
    if (tile->pixels.bits) return tile->pixels;  // made already (QImage::isNull is a call)
    QImage image(std::max(QFontMetrics(m_font).horizontalAdvance(QChar(c)), 1), m_lineHeight, QImage::Format_RGB32);
    image.fill(Background());
    {
        QPainter p(&image);
        p.setFont(m_font);
        p.setPen(Ink());
        p.drawText(0, m_ascent, QString(QChar(c)));
    }
    tile->Set(std::move(image));
    Pixels& t = tile->pixels;
    const QRgb background = Background().rgb();
    auto blank = [&](int row) {
        const auto* line = reinterpret_cast<const QRgb*>(t.bits + row * t.bytesPerLine);
        return std::all_of(line, line + t.width, [background](QRgb p) { return p == background; });
    };
    t.inkTop = 0, t.inkBottom = t.height;
    while (t.inkTop < t.inkBottom && blank(t.inkTop)) ++t.inkTop;
    while (t.inkBottom > t.inkTop && blank(t.inkBottom - 1)) --t.inkBottom;
    if (c < kDirectTiles) m_tileWidths[c] = static_cast<int16_t>(t.width);
    return t;
}

int CMeasurePanel::FigureWidth(const QString& text) {
    int width = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        width += u < kDirectTiles && m_tileWidths[u] ? m_tileWidths[u] : Tile(u).width;
    }
    return width;
}

void CMeasurePanel::Show(MeasureGrid& grid) {
    // The picture's texts: the headings row (an empty corner, then the columns), then each
    // row's name; without rows, a line that says so.
    const size_t columns = grid.Empty() ? 1 : grid.head.size(), rows = 1 + grid.labels.size();
    const bool namesChanged =
        grid.Empty() ? !(m_names.size() == 1 && m_names[0].source == kNoMeasurements)
                     : m_names.size() != grid.head.size() + grid.labels.size() ||
                           !std::equal(grid.head.begin(), grid.head.end(), m_names.begin()) ||
                           !std::equal(grid.labels.begin(), grid.labels.end(), m_names.begin() + grid.head.size());
    if (namesChanged) {  // another table: its names translated and measured once
        m_names.clear();
        if (grid.Empty()) {
            m_names.push_back({kNoMeasurements, {}});
        } else {
            m_names = grid.head;
            m_names.insert(m_names.end(), grid.labels.begin(), grid.labels.end());
        }
        const QFontMetrics fm(m_font);
        m_fixed.clear();
        for (const MeasureName& name : m_names) m_fixed.push_back(QString::fromStdString(name.Text()));
        m_widths.assign(columns, 0);
        for (size_t c = 0; c < columns; ++c) m_widths[c] = fm.horizontalAdvance(m_fixed[static_cast<qsizetype>(c)]);
        for (size_t r = 1; r < rows; ++r)
            m_widths[0] = std::max(m_widths[0], fm.horizontalAdvance(m_fixed[static_cast<qsizetype>(columns + r - 1)]));
    }
    std::vector<int> widths = m_widths;
    // Of a drag's frames most figures read as before: those keep their text and width.
    const size_t cells = grid.cells.size();
    const bool keep = !namesChanged && m_figures.size() == cells && m_shown.cells.size() == cells;
    if (!keep) m_figures.assign(cells, Figure{}), m_stale.assign(cells, 1);
    for (size_t r = 1, i = 0; r < rows; ++r) {
        for (size_t c = 1; c < columns; ++c, ++i) {
            const MeasureCell& cell = grid.cells[i];
            if (!keep || !(m_shown.cells[i] == cell)) {
                QString text = QString::fromStdString(cell.Text());
                const int width = FigureWidth(text);
                m_figures[i] = {std::move(text), m_figures[i].at, width};
                m_stale[i] = 1;
            }
            widths[c] = std::max(widths[c], m_figures[i].width);
        }
    }
    std::swap(m_shown, grid);
    int width = 2 * kMargin + kGap * static_cast<int>(columns - 1);
    for (int w : widths) width += w;
    width = std::max(width, 2 * kMargin + m_titleWidth);
    const int top = m_top;
    const QSize size(width, top + m_lineHeight * static_cast<int>(rows) + kMargin);

    // Names left, figures right, as a table of figures reads.
    auto left = [&](size_t c) {
        int x = kMargin;
        for (size_t i = 0; i < c; ++i) x += widths[i] + kGap;
        return x;
    };
    for (size_t r = 1, next = 0; r < rows; ++r)
        for (size_t c = 1; c < columns; ++c, ++next) {
            Figure& f = m_figures[next];
            const QPoint at(left(c) + widths[c] - f.width, top + m_lineHeight * static_cast<int>(r));
            if (at != f.at) f.at = at, m_stale[next] = 1;
        }
    if (!namesChanged && widths == m_widths && size == Size()) return;
    m_widths = widths;
    m_painted.clear();
    // A raised panel in the desktop's colours, as the cursor read-outs are.
    const QPalette palette = QGuiApplication::palette();
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(palette.window().color());
    QPainter p(&picture);
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
    const QFontMetrics fm(m_font);
    auto baseline = [&](size_t r) { return top + m_lineHeight * static_cast<int>(r) + m_ascent; };
    p.drawText(kMargin, baseline(0), m_fixed[0]);
    for (size_t c = 1; c < columns; ++c) {
        const QString& head = m_fixed[static_cast<qsizetype>(c)];
        p.drawText(left(c) + widths[c] - fm.horizontalAdvance(head), baseline(0), head);
    }
    for (size_t r = 1; r < rows; ++r)
        p.drawText(kMargin, baseline(r), m_fixed[static_cast<qsizetype>(columns + r - 1)]);
    p.end();
    m_picture.Set(std::move(picture));
}

void CMeasurePanel::PaintFigure(uchar* bits, qsizetype stride, QSize frame, const Figure& f, QPoint topLeft,
                                const QRect& clip) const {
    int x = topLeft.x() + f.at.x();
    const int y = topLeft.y() + f.at.y();
    for (QChar c : f.text) {
        // Made when the figure was laid out.
        const Pixels& tile = (c.unicode() < kDirectTiles ? m_tiles[c.unicode()] : m_otherTiles.at(c.unicode())).pixels;
        Blit(bits, stride, frame, tile, clip.isNull() ? tile.Rect() : clip.translated(-x, -y), x, y);
        x += tile.width;
    }
}

void CMeasurePanel::Paint(QImage& frame, QPoint topLeft) const {
    if (m_picture.image.isNull()) return;
    uchar* bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    Blit(bits, stride, frame.size(), m_picture.pixels, m_picture.pixels.Rect(), topLeft.x(), topLeft.y());
    for (const Figure& f : m_figures) PaintFigure(bits, stride, frame.size(), f, topLeft);
}

void CMeasurePanel::Update(QImage& frame, QPoint topLeft, bool fresh, const std::vector<QRect>& dirty) {
    if (fresh || m_painted.size() != m_figures.size()) {
        Paint(frame, topLeft);
        m_painted = m_figures;
        std::fill(m_stale.begin(), m_stale.end(), 0);
        return;
    }
    uchar* bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    auto restore = [&](const QRect& part) {  // in the panel's coordinates
        Blit(bits, stride, frame.size(), m_picture.pixels, part, topLeft.x(), topLeft.y());
    };
    for (const QRect& d : dirty) {
        const QRect part = d.translated(-topLeft) & m_picture.pixels.Rect();
        if (part.isEmpty()) continue;
        restore(part);
        for (const Figure& f : m_figures)
            if (f.Rect(m_lineHeight).intersects(part))
                PaintFigure(bits, stride, frame.size(), f, topLeft, part.translated(topLeft));
    }
    for (size_t i = 0; i < m_figures.size(); ++i) {
        if (!m_stale[i]) continue;
        m_stale[i] = 0;
        const Figure &was = m_painted[i], &is = m_figures[i];
        if (was == is) continue;
        if (was.at.y() != is.at.y()) {  // another row: the table was laid out again
            restore(was.Rect(m_lineHeight));
            PaintFigure(bits, stride, frame.size(), is, topLeft);
        } else {
            // A figure of a drag mostly keeps its place and changes a digit or two. A tile covers
            // its whole cell: a character where the old figure has the same one in the same cell
            // is there already, one over another of its width needs only the rows either inks,
            // and the rest is copied whole; what the old figure covered beyond the new is cleared.
            const int y = topLeft.y() + is.at.y();
            int xWas = topLeft.x() + was.at.x(), xIs = topLeft.x() + is.at.x();
            qsizetype w = 0;
            for (qsizetype k = 0; k < is.text.size(); ++k) {
                const Pixels& tile = Tile(is.text[k].unicode());
                while (w < was.text.size() && xWas < xIs) xWas += Tile(was.text[w++].unicode()).width;
                const Pixels* old = w < was.text.size() && xWas == xIs ? &Tile(was.text[w].unicode()) : nullptr;
                if (old && old->width == tile.width) {
                    if (was.text[w] != is.text[k]) {
                        const int top = std::min(old->inkTop, tile.inkTop);
                        const int bottom = std::max(old->inkBottom, tile.inkBottom);
                        Blit(bits, stride, frame.size(), tile, QRect(0, top, tile.width, bottom - top), xIs, y);
                    }
                } else {
                    Blit(bits, stride, frame.size(), tile, tile.Rect(), xIs, y);
                }
                xIs += tile.width;
            }
            const QRect before = was.Rect(m_lineHeight), after = is.Rect(m_lineHeight);
            if (before.left() < after.left())
                restore(QRect(before.left(), before.top(), after.left() - before.left(), m_lineHeight));
            if (before.right() > after.right())
                restore(QRect(after.right() + 1, before.top(), before.right() - after.right(), m_lineHeight));
        }
        m_painted[i] = is;
    }
}

QString CMeasurePanel::TableText() const { return QString::fromStdString(MeasureGridText(m_shown, true)); }

void CMeasurePanel::CopyToClipboard() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(TableText());
}
