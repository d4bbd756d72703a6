// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/CPlotSettingsDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>
#include <string>

#include "units/SINotation.h"
#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

namespace {

QCheckBox* NewCheck(const char* id, const QString& text, int checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(id));
    box->setChecked(checked != 0);
    return box;
}

QLineEdit* NewEdit(const char* id, const QString& text, bool enabled, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(id));
    edit->setEnabled(enabled);
    return edit;
}

}  // namespace

CPlotSettingsDlg::CPlotSettingsDlg(const QString& title, const PlotSettings& settings, PlotColour swatch,
                                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_settings(settings),
      m_given(settings),
      m_crSwatch(swatch),
      m_crGiven(swatch) {
    setWindowTitle(title);
    setModal(true);
    m_pickColour = [this](PlotColour& colour) {
        const QColor c = QColorDialog::getColor(QColor(Qt::black), this);
        if (!c.isValid()) return false;
        colour = MakeColour(c.red(), c.green(), c.blue());
        return true;
    };

    m_pEnabled = NewCheck("1031", KivTr("Kiv", "Włączony"), m_settings.bEnabled, this);
    m_pMultiplier = NewCheck("1029", KivTr("Kiv", "Mnożnik"), m_settings.bMultiplier, this);
    m_pInvert = NewCheck("1025", KivTr("Kiv", "Odwróć"), m_settings.bInvert, this);
    m_pOffset = NewCheck("1026", KivTr("Kiv", "Przesunięcie"), m_settings.bOffset, this);
    m_pMultiplierEdit = NewEdit("1028", SIText(m_settings.fMultiplier, 0), m_settings.bMultiplier != 0, this);
    m_pOffsetEdit = NewEdit("1027", SIText(m_settings.nOffset * m_settings.dAmpStep, m_settings.nAmpExponent),
                            m_settings.bOffset != 0, this);

    auto* colourLabel = new QLabel(KivTr("Kiv", "Kolor"), this);
    m_pSwatch = new QFrame(this);
    m_pSwatch->setObjectName(QStringLiteral("1036"));
    m_pSwatch->setFixedSize(48, 20);
    m_pSwatch->installEventFilter(this);
    auto* change = new QPushButton(KivTr("Kiv", "Zmień"), this);
    change->setObjectName(QStringLiteral("1030"));
    change->setAutoDefault(false);

    const auto [buttons, ok, cancel] = AddOkCancel(this);

    for (QCheckBox* box : {m_pEnabled, m_pMultiplier, m_pInvert, m_pOffset})
        connect(box, &QCheckBox::clicked, this, &CPlotSettingsDlg::OnCheckClicked);
    connect(change, &QPushButton::clicked, this, &CPlotSettingsDlg::OnChangeColour);

    auto* grid = new QGridLayout;
    grid->addWidget(m_pEnabled, 0, 0);
    grid->addWidget(m_pMultiplier, 1, 0);
    grid->addWidget(m_pMultiplierEdit, 1, 1);
    grid->addWidget(m_pInvert, 2, 0);
    grid->addWidget(m_pOffset, 3, 0);
    grid->addWidget(m_pOffsetEdit, 3, 1);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_pSwatch);
    colourRow->addStretch(1);
    colourRow->addWidget(change);
    grid->addLayout(colourRow, 4, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    QWidget* order[] = {m_pEnabled, m_pMultiplier, m_pInvert, m_pOffset, m_pMultiplierEdit,
                        m_pOffsetEdit, change, ok, cancel};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    setFixedSize(sizeHint());
}

const PlotSettings& CPlotSettingsDlg::Settings() const { return m_settings; }

PlotColour CPlotSettingsDlg::SwatchColour() const { return m_crSwatch; }

void CPlotSettingsDlg::OnCheckClicked() {
    m_pMultiplierEdit->setEnabled(m_pMultiplier->isChecked());
    m_pOffsetEdit->setEnabled(m_pOffset->isChecked());
    ReadChecks();
}

void CPlotSettingsDlg::ReadChecks() {
    m_settings.bEnabled = m_pEnabled->isChecked();
    m_settings.bInvert = m_pInvert->isChecked();
    m_settings.bMultiplier = m_pMultiplier->isChecked();
    m_settings.bOffset = m_pOffset->isChecked();
}

void CPlotSettingsDlg::OnChangeColour() {
    PlotColour colour = 0;
    if (!m_pickColour || !m_pickColour(colour)) return;
    m_crSwatch = colour;
    m_pSwatch->update();
}

void CPlotSettingsDlg::accept() {
    ReadChecks();
    // A field whose box is off keeps its old value, whatever it holds.
    if (m_settings.bMultiplier && !ParseSIFloat(&m_settings.fMultiplier, FieldText(m_pMultiplierEdit).constData()))
        return;
    if (m_settings.bOffset && !ParseSIScaled(&m_settings.nOffset, FieldText(m_pOffsetEdit).constData(), -100, 100,
                                             m_settings.dAmpStep, m_settings.nAmpExponent))
        return;
    QDialog::accept();
}

void CPlotSettingsDlg::reject() {
    m_settings = m_given;
    m_crSwatch = m_crGiven;
    QDialog::reject();
}

// The swatch: a rectangle filled with the colour and outlined in black.
bool CPlotSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pSwatch && event->type() == QEvent::Paint) {
        QPainter painter(m_pSwatch);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(QColor(RedOf(m_crSwatch), GreenOf(m_crSwatch), BlueOf(m_crSwatch)));
        painter.drawRect(0, 0, m_pSwatch->width() - 1, m_pSwatch->height() - 1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
