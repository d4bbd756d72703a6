#include "analysis/ui/CMeasurePanel.h"

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "analysis/Measurements.h"

CMeasurePanel::CMeasurePanel(QWidget* parent) : CReadoutPanel(parent) {
    new QVBoxLayout(this);
    auto* copy = new QAction(QStringLiteral("Kopiuj"), this);
    connect(copy, &QAction::triggered, this, &CMeasurePanel::CopyToClipboard);
    addAction(copy);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CMeasurePanel::ShowMeasurements(const ModeMeasurements& m) {
    std::string text = MeasureTableText(m, true);
    if (m.Rows().empty()) text = "Brak pomiarów w tym trybie\n";
    if (text == m_text) return;
    m_text = std::move(text);
    std::vector<QStringList> cells;
    for (const QString& line : QString::fromStdString(m_text).split('\n', Qt::SkipEmptyParts))
        cells.push_back(line.split('\t'));
    const size_t rows = cells.size(), columns = cells[0].size();
    if (rows != m_rows || columns != m_columns) {
        // A new table of the new shape: a grid keeps the rows it once had.
        delete m_group;
        m_cells.clear();
        m_group = new QGroupBox(QStringLiteral("Pomiary"), this);
        m_grid = new QGridLayout(m_group);
        layout()->addWidget(m_group);
        for (size_t r = 0; r < rows; ++r)
            for (size_t c = 0; c < columns; ++c) {
                auto* label = new QLabel(m_group);
                label->setFocusPolicy(Qt::NoFocus);
                // Labels left, numbers right, as a table of figures reads.
                label->setAlignment(c == 0 ? Qt::AlignLeft : Qt::AlignRight);
                m_grid->addWidget(label, static_cast<int>(r), static_cast<int>(c));
                m_cells.push_back(label);
            }
        m_rows = rows, m_columns = columns;
        Tighten();
        m_group->show();
    }
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c) m_cells[r * columns + c]->setText(static_cast<qsizetype>(c) < cells[r].size() ? cells[r][c] : QString());
    m_grid->activate();
    layout()->activate();
    resize(sizeHint());
}

void CMeasurePanel::CopyToClipboard() const {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(TableText());
}
