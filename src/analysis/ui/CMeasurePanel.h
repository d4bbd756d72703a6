// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "analysis/Measurements.h"

// "Pomiary": the automatic measurements of the curves the mode shows as a table (a column a
// curve, or with statistics a column a statistic), painted into the view's frame like the
// cursors. The figures change
// at every frame of a cursor drag, so they are copied in from a picture of each character,
// made once, over a picture of the rest (frame, names, headings) kept until the rows or the
// widths change: a frame costs some row copies, no text layout and no painter.
class CMeasurePanel {
public:
    CMeasurePanel();

    // Takes the table, leaving the last one in grid for its storage to be filled again; one
    // that reads as before changes nothing.
    void Show(MeasureGrid& grid);
    QSize Size() const { return m_picture.image.size(); }
    // Copies the whole panel into an RGB32 frame at topLeft, as much as fits.
    void Paint(QImage& frame, QPoint topLeft) const;
    // Brings the panel up to date in a frame kept between paints, which holds it at topLeft as
    // the last Update left it except in the rectangles dirty (frame coordinates): copies only
    // those and the figures that changed; all of it when fresh.
    void Update(QImage& frame, QPoint topLeft, bool fresh, const std::vector<QRect>& dirty);
    // The table as "Kopiuj" puts it on the clipboard: tab-separated, a line a row.
    QString TableText() const;
    void CopyToClipboard() const;

private:
    struct Figure {
        QString text;
        QPoint at;  // top-left in the panel
        int width = 0;
        QRect Rect(int height) const { return {at, QSize(width, height)}; }
        bool operator==(const Figure&) const = default;
    };
public:
    // A picture's pixels as the copies read them: QImage's accessors are calls into the library,
    // a few for each of a frame's thousand small copies.
    struct Pixels {
        const uchar* bits = nullptr;
        int width = 0, height = 0;
        qsizetype bytesPerLine = 0;
        int inkTop = 0, inkBottom = 0;  // the rows [inkTop, inkBottom) that are not all background
        QRect Rect() const { return {0, 0, width, height}; }
    };

private:
    struct Picture {
        QImage image;
        Pixels pixels;
        void Set(QImage i) {
            image = std::move(i);
            pixels = {image.constBits(), image.width(), image.height(), image.bytesPerLine()};
        }
    };
    const Pixels& Tile(char16_t c);
    int FigureWidth(const QString& text);
    // Copies f's characters, only their parts in clip (frame coordinates) unless it is null.
    void PaintFigure(uchar* bits, qsizetype stride, QSize frame, const Figure& f, QPoint topLeft,
                     const QRect& clip = {}) const;

    MeasureGrid m_shown;
    QFont m_font, m_bold;
    int m_ascent, m_lineHeight, m_titleWidth, m_titleAscent, m_top;
    // Latin-1 and Latin Extended-A, the figures' characters, by character; the rest by map.
    static constexpr char16_t kDirectTiles = 0x180;
    std::vector<Picture> m_tiles;
    std::array<int16_t, kDirectTiles> m_tileWidths{};  // 0 until made: a figure's width reads a few lines
    std::map<char16_t, Picture> m_otherTiles;
    std::vector<MeasureName> m_names;  // headings and row names, untranslated: the picture's
    QStringList m_fixed;               // the same as the picture shows them
    std::vector<int> m_widths;   // of the columns; they only grow, so the table stays put
    std::vector<Figure> m_figures;
    std::vector<Figure> m_painted;  // as the kept frame holds them; empty when it holds none
    std::vector<char> m_stale;      // by figure: changed since Update last looked
    Picture m_picture;            // the panel without the figures
};
