#include "acquisition/ui/CTransmissionDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "acquisition/ScopeRegistry.h"
#include "widgets/ui/DialogParts.h"

namespace {
QComboBox* AddList(QWidget* parent, QFormLayout* form, const char* label, const char* id) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(id));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* text = new QLabel(QString::fromUtf8(label), parent);
    text->setBuddy(list);
    form->addRow(text, list);
    return list;
}
}  // namespace

CTransmissionDlg::CTransmissionDlg(uint8_t instrument, uint8_t baudIndex, uint8_t port, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_nInstrument(instrument),
      m_nBaudIndex(baudIndex),
      m_nPort(port) {
    setWindowTitle(QStringLiteral("Parametry transmisji"));
    setModal(true);
    auto* form = new QFormLayout;
    m_pModel = AddList(this, form, "&Typ oscyloskopu", "1006");
    m_pRate = AddList(this, form, "&Prędkość transmisji", "1007");
    m_pPort = AddList(this, form, "P&ort", "1008");

    for (int i = 0; i < kScopeModelCount; ++i) m_pModel->addItem(QString::fromLatin1(ScopeModelAt(i).name));
    m_pModel->setCurrentIndex(m_nInstrument);
    FillRates();
    // A stored rate the model does not offer shows no entry; the index stays until a choice.
    m_pRate->setCurrentIndex(m_nBaudIndex - ScopeModelAt(m_nInstrument).lowestBaud - 1);
    for (int n = 1; n <= 4; ++n) m_pPort->addItem(QString::asprintf("%s%d", "COM", n));
    m_pPort->setCurrentIndex(m_nPort - 1);

    // A choice counts also when it is the entry already shown: choosing the shown model
    // applies its rates again.
    connect(m_pModel, &QComboBox::activated, this, &CTransmissionDlg::ChooseModel);
    connect(m_pRate, &QComboBox::activated, this, [this](int selection) {
        if (selection >= 0) m_nBaudIndex = uint8_t(ScopeModelAt(m_nInstrument).lowestBaud + selection + 1);
    });
    connect(m_pPort, &QComboBox::activated, this, [this](int selection) {
        if (selection >= 0) m_nPort = uint8_t(selection + 1);
    });

    const auto [buttons, ok, cancel] = AddOkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setTabOrder(m_pModel, m_pRate);
    setTabOrder(m_pRate, m_pPort);
    setTabOrder(m_pPort, ok);
    setTabOrder(ok, cancel);
    setFixedSize(sizeHint());
}

// The rates of the chosen model, lowest first; filling selects nothing by itself.
void CTransmissionDlg::FillRates() {
    m_pRate->clear();
    const ScopeModel& model = ScopeModelAt(m_nInstrument);
    for (int i = model.lowestBaud; i <= model.highestBaud; ++i) m_pRate->addItem(QString::number(kBaudRates[i]));
    m_pRate->setCurrentIndex(-1);
}

void CTransmissionDlg::ChooseModel(int index) {
    if (index < 0) return;
    m_nInstrument = uint8_t(index);
    FillRates();
    const ScopeModel& model = ScopeModelAt(m_nInstrument);
    if (m_nBaudIndex < model.lowestBaud + 1 || m_nBaudIndex > model.highestBaud + 1)
        m_nBaudIndex = uint8_t(model.lowestBaud + 1);
    m_pRate->setCurrentIndex(m_nBaudIndex - model.lowestBaud - 1);
}
