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

constexpr char16_t kDirectTiles = 0x180;  // Latin-1 and Latin Extended-A: the figures' characters

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
    if (bytes <= 64) {  // a character or the column a cursor crossed: a call a row would cost more than the copy
        for (int row = 0; row < r.height(); ++row, from += src.bytesPerLine, to += stride) {
            size_t b = 0;
            for (; b + 16 <= bytes; b += 16) std::memcpy(to + b, from + b, 16);
            for (; b < bytes; b += 4) std::memcpy(to + b, from + b, 4);
        }
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
    return tile->pixels;
}

int CMeasurePanel::FigureWidth(const QString& text) {
    int width = 0;
    for (QChar c : text) width += Tile(c.unicode()).width;
    return width;
}

void CMeasurePanel::Show(MeasureGrid grid) {
    // The picture's texts: the headings row (an empty corner, then the columns), then each
    // row's name; without rows, a line that says so.
    std::vector<MeasureName> names;
    if (grid.Empty()) {
        names.push_back({kNoMeasurements, {}});
    } else {
        names = grid.head;
        names.insert(names.end(), grid.labels.begin(), grid.labels.end());
    }
    const size_t columns = grid.Empty() ? 1 : grid.head.size(), rows = 1 + grid.labels.size();
    const bool namesChanged = names != m_names;
    if (namesChanged) {  // another table: its names translated and measured once
        const QFontMetrics fm(m_font);
        m_names = names;
        m_fixed.clear();
        for (const MeasureName& name : names) m_fixed.push_back(QString::fromStdString(name.Text()));
        m_widths.assign(columns, 0);
        for (size_t c = 0; c < columns; ++c) m_widths[c] = fm.horizontalAdvance(m_fixed[static_cast<qsizetype>(c)]);
        for (size_t r = 1; r < rows; ++r)
            m_widths[0] = std::max(m_widths[0], fm.horizontalAdvance(m_fixed[static_cast<qsizetype>(columns + r - 1)]));
    }
    std::vector<int> widths = m_widths;
    std::vector<Figure> figures;
    figures.reserve(grid.cells.size());
    for (size_t r = 1; r < rows; ++r) {
        for (size_t c = 1; c < columns; ++c) {
            const size_t i = figures.size();
            const MeasureCell& cell = grid.cells[i];
            // Of a drag's frames most figures read as before: those keep their text.
            if (!namesChanged && i < m_figures.size() && i < m_shown.cells.size() && m_shown.cells[i] == cell) {
                figures.push_back(m_figures[i]);
            } else {
                QString text = QString::fromStdString(cell.Text());
                const int width = FigureWidth(text);
                figures.push_back({std::move(text), {}, width});
            }
            widths[c] = std::max(widths[c], figures.back().width);
        }
    }
    m_figures = std::move(figures);
    m_shown = std::move(grid);
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
            f.at = {left(c) + widths[c] - f.width, top + m_lineHeight * static_cast<int>(r)};
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
        const Figure &was = m_painted[i], &is = m_figures[i];
        if (was == is) continue;
        if (was.at != is.at || was.text.size() != is.text.size()) {
            restore(was.Rect(m_lineHeight));
            restore(is.Rect(m_lineHeight));
            PaintFigure(bits, stride, frame.size(), is, topLeft);
        } else {
            // A figure of a drag mostly keeps its place and changes a digit or two: only the
            // characters that changed, or moved, are copied again. A tile covers its whole cell,
            // so one in the place and width of the old needs nothing cleared; else all such are
            // cleared first, as a character may come out wider.
            const int y = topLeft.y() + is.at.y();
            for (const bool draw : {false, true}) {
                int xWas = topLeft.x() + was.at.x(), xIs = xWas;
                for (qsizetype k = 0; k < is.text.size(); ++k) {
                    const Pixels& old = Tile(was.text[k].unicode());
                    const Pixels& tile = Tile(is.text[k].unicode());
                    if (was.text[k] != is.text[k] || xWas != xIs) {
                        if (draw) {
                            Blit(bits, stride, frame.size(), tile, tile.Rect(), xIs, y);
                        } else if (xWas != xIs || old.width != tile.width) {
                            restore(QRect(xWas - topLeft.x(), is.at.y(), old.width, m_lineHeight));
                            restore(QRect(xIs - topLeft.x(), is.at.y(), tile.width, m_lineHeight));
                        }
                    }
                    xWas += old.width, xIs += tile.width;
                }
            }
        }
        m_painted[i] = is;
    }
}

QString CMeasurePanel::TableText() const { return QString::fromStdString(MeasureGridText(m_shown, true)); }

void CMeasurePanel::CopyToClipboard() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(TableText());
}
