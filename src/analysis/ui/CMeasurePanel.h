#pragma once
#include <QString>
#include <string>
#include <vector>

#include "widgets/ui/CReadoutPanel.h"

class QGridLayout;
class QGroupBox;
class QLabel;
struct ModeMeasurements;

// "Pomiary": the automatic measurements of the curves the mode shows, one column a curve,
// one row a measurement. "Kopiuj" in its context menu puts the table on the clipboard as
// tab-separated text.
class CMeasurePanel : public CReadoutPanel {
    Q_OBJECT
public:
    explicit CMeasurePanel(QWidget* parent);

    // Shows m; a table that reads as before changes nothing, so a paint costs a comparison.
    void ShowMeasurements(const ModeMeasurements& m);
    // The table as the clipboard gets it.
    QString TableText() const { return QString::fromStdString(m_text); }
    void CopyToClipboard() const;

private:
    QGroupBox* m_group = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<QLabel*> m_cells;  // row by row, the heading row first
    size_t m_rows = 0, m_columns = 0;
    std::string m_text;
};
