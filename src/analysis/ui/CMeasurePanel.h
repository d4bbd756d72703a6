#pragma once
#include <QFont>
#include <QImage>
#include <QString>
#include <map>
#include <string>
#include <vector>

struct ModeMeasurements;

// "Pomiary": the automatic measurements of the curves the mode shows, one column a curve,
// one row a measurement, painted into the view's frame like the cursors. The figures change
// at every frame of a cursor drag, so they are copied in from a picture of each character,
// made once, over a picture of the rest (frame, names, headings) kept until the rows or the
// widths change: a frame costs some row copies, no text layout and no painter.
class CMeasurePanel {
public:
    CMeasurePanel();

    // Takes m; a table that reads as before changes nothing.
    void Show(const ModeMeasurements& m);
    QSize Size() const { return m_picture.size(); }
    // Copies the panel into an RGB32 frame at topLeft, as much as fits.
    void Paint(QImage& frame, QPoint topLeft) const;
    // The table as "Kopiuj" puts it on the clipboard: tab-separated, a line a row.
    QString TableText() const { return QString::fromStdString(m_text); }
    void CopyToClipboard() const;

private:
    const QImage& Tile(QChar c);
    int FigureWidth(const QString& text);

    struct Figure {
        QString text;
        QPoint at;  // top-left in the panel
    };
    std::string m_text;
    QFont m_font, m_bold;
    int m_ascent, m_lineHeight, m_titleWidth, m_titleAscent, m_top;
    std::map<char16_t, QImage> m_tiles;
    QStringList m_fixed;         // names and headings the picture shows, with its widths
    std::vector<int> m_widths;   // of the columns; they only grow, so the table stays put
    std::vector<Figure> m_figures;
    QImage m_picture;            // the panel without the figures
};
