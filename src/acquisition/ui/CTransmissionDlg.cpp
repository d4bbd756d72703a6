// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/CTransmissionDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquisition/CAcquisition.h"
#include "acquisition/CScopeProbe.h"
#include "acquisition/CScpiAutoDriver.h"
#include "acquisition/RawTrace.h"
#include "acquisition/ScopeRegistry.h"
#include "qtcore/CLoopHost.h"
#include "platform/PortDevices.h"
#include "platform/SerialDevices.h"
#include "qtcore/CPortSettings.h"
#include "widgets/ui/DialogParts.h"
#include "qtcore/KivLanguage.h"

namespace {
QComboBox* AddList(QWidget* parent, QFormLayout* form, const char* label, const char* id) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(id));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* text = new QLabel(KivTr("Kiv", label), parent);
    text->setBuddy(list);
    form->addRow(text, list);
    return list;
}

// A driver for the probe: the model's, or "Automatycznie" with every SCPI family beside it.
struct ProbeDrivers {
    RawTrace traces[2];
    std::vector<std::unique_ptr<CScopeDriver>> families;
    std::unique_ptr<CScopeDriver> driver;

    explicit ProbeDrivers(uint8_t instrument) {
        if (instrument != kAutoInstrument) {
            driver = ScopeDriverAt(instrument).create(traces);
            return;
        }
        std::vector<CScpiDriver*> scpi;
        for (int i = 0; i < kScopeModelCount; ++i)
            if (ScopeModelAt(i).scpi) {
                families.push_back(ScopeDriverAt(i).create(traces));
                scpi.push_back(dynamic_cast<CScpiDriver*>(families.back().get()));
            }
        driver = std::make_unique<CScpiAutoDriver>(traces, std::move(scpi));
    }
};
}  // namespace

CTransmissionDlg::CTransmissionDlg(uint8_t instrument, uint8_t baud, uint8_t port, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_nInstrument(instrument),
      m_nBaud(baud),
      m_nPort(port) {
    setWindowTitle(KivTr("Kiv", "Parametry transmisji"));
    setModal(true);
    auto* form = m_pForm = new QFormLayout;
    m_pModel = AddList(this, form, KIV_TR_NOOP("Kiv", "&Typ oscyloskopu"), "1006");
    m_pRate = AddList(this, form, KIV_TR_NOOP("Kiv", "&Prędkość transmisji"), "1007");
    m_pPort = AddList(this, form, KIV_TR_NOOP("Kiv", "P&ort"), "1008");

    // The models in the order Kiv.cfg numbers them, then the automatic choice of an SCPI family.
    for (int i = 0; i < kScopeModelCount; ++i) m_pModel->addItem(QString::fromLatin1(ScopeModelAt(i).name), i);
    m_pModel->addItem(KivTr("Kiv", AutoScopeModel().name), int(kAutoInstrument));
    m_pModel->setCurrentIndex(m_pModel->findData(int(m_nInstrument)));
    FillRates();
    // A stored rate the model does not offer shows no entry; the index stays until a choice.
    m_pRate->setCurrentIndex(m_nBaud - InstrumentModel(m_nInstrument).lowestBaud);
    for (int n = 1; n <= 4; ++n) m_pPort->addItem(QString::asprintf("%s%d", "COM", n));
    m_pPort->setCurrentIndex(m_nPort - 1);

    m_pDevice = new QComboBox(this);
    m_pDevice->setObjectName(QStringLiteral("device"));
    m_pDevice->setEditable(true);
    m_pDevice->setInsertPolicy(QComboBox::NoInsert);
    m_pDevice->setMinimumContentsLength(32);
    auto* refresh = new QPushButton(KivTr("Kiv", "Odśwież"), this);
    refresh->setObjectName(QStringLiteral("refresh"));
    refresh->setAutoDefault(false);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(m_pDevice, 1);
    deviceRow->addWidget(refresh);
    auto* deviceLabel = new QLabel(KivTr("Kiv", "&Urządzenie"), this);
    deviceLabel->setBuddy(m_pDevice);
    form->addRow(deviceLabel, deviceRow);
    auto* probe = new QPushButton(KivTr("Kiv", "Sprawdź połączenie"), this);
    probe->setObjectName(QStringLiteral("probe"));
    probe->setAutoDefault(false);
    m_pProbeResult = new QLabel(this);
    m_pProbeResult->setObjectName(QStringLiteral("probeResult"));
    m_pProbeResult->setWordWrap(true);
    m_pProbeResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* probeRow = new QVBoxLayout;
    probeRow->addWidget(probe, 0, Qt::AlignLeft);
    probeRow->addWidget(m_pProbeResult);
    form->addRow(QString(), probeRow);
    connect(probe, &QPushButton::clicked, this, &CTransmissionDlg::Probe);
    FillDevices();
    connect(refresh, &QPushButton::clicked, this, [this] {
        // What is typed survives the new list.
        const QString typed = m_pDevice->currentText();
        FillDevices();
        m_pDevice->setEditText(typed);
    });

    // A choice counts also when it is the entry already shown: choosing the shown model
    // applies its rates again.
    connect(m_pModel, &QComboBox::activated, this, &CTransmissionDlg::ChooseModel);
    connect(m_pRate, &QComboBox::activated, this, [this](int selection) {
        if (selection >= 0) m_nBaud = uint8_t(InstrumentModel(m_nInstrument).lowestBaud + selection);
    });
    connect(m_pPort, &QComboBox::activated, this, [this](int selection) {
        if (selection < 0) return;
        KeepDevice();  // the device shown belongs to the COM chosen before
        m_nPort = uint8_t(selection + 1);
        FillDevices();
    });

    const auto [buttons, ok, cancel] = AddOkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setTabOrder(m_pModel, m_pRate);
    setTabOrder(m_pRate, m_pPort);
    setTabOrder(m_pPort, m_pDevice);
    setTabOrder(m_pDevice, refresh);
    setTabOrder(refresh, probe);
    setTabOrder(probe, ok);
    setTabOrder(ok, cancel);
    // The probe's line may take more rows than the empty label: the dialog follows its content.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The rates of the chosen model, lowest first; filling selects nothing by itself. An SCPI
// instrument has no line rate: the row goes.
void CTransmissionDlg::FillRates() {
    m_pRate->clear();
    const ScopeModel& model = InstrumentModel(m_nInstrument);
    for (int i = model.lowestBaud; i <= model.highestBaud; ++i) m_pRate->addItem(QString::number(kBaudRates[i]));
    m_pRate->setCurrentIndex(-1);
    m_pForm->setRowVisible(m_pRate, !model.scpi);
}

void CTransmissionDlg::ChooseModel(int index) {
    if (index < 0) return;
    m_nInstrument = uint8_t(m_pModel->itemData(index).toInt());
    FillRates();
    const ScopeModel& model = InstrumentModel(m_nInstrument);
    if (m_nBaud < model.lowestBaud || m_nBaud > model.highestBaud) m_nBaud = model.lowestBaud;
    m_pRate->setCurrentIndex(m_nBaud - model.lowestBaud);
}

void CTransmissionDlg::FillDevices() {
    m_pDevice->clear();
    for (const SerialDevice& d : EnumerateSerialDevices())
        m_pDevice->addItem(QString::fromStdString(d.Description()),
                           QString::fromLocal8Bit((d.byId.empty() ? d.path : d.byId).c_str()));
    // USB instruments through the kernel's USBTMC driver; a network one is typed (tcp://HOST).
    for (const SerialDevice& d : EnumerateUsbTmcDevices())
        m_pDevice->addItem(QString::fromStdString(d.Description()), QString::fromLocal8Bit(d.path.c_str()));
    // Devices no list finds (a simulator's pseudo-terminal, say) once chosen for a COM number.
    for (unsigned port = 1; port <= 4; ++port) {
        const QString kept = QString::fromLocal8Bit(CPortSettings::Remembered(port).c_str());
        if (!kept.isEmpty() && m_pDevice->findData(kept) < 0) m_pDevice->addItem(kept, kept);
    }
    const QString own = QString::fromLocal8Bit(CPortSettings::Remembered(m_nPort).c_str());
    const int listed = own.isEmpty() ? -1 : m_pDevice->findData(own);
    m_pDevice->setCurrentIndex(listed);
    if (listed < 0) m_pDevice->setEditText(own);
    // What the COM number opens when the field is left empty.
    m_pDevice->lineEdit()->setPlaceholderText(QString::fromLocal8Bit(ResolvePortDevice(m_nPort).c_str()));
}

std::string CTransmissionDlg::ChosenDevice() const {
    const QString text = m_pDevice->currentText().trimmed();
    const int listed = m_pDevice->findText(text);
    const QString device = listed >= 0 ? m_pDevice->itemData(listed).toString() : text;
    return device.toLocal8Bit().toStdString();
}

void CTransmissionDlg::KeepDevice() { CPortSettings::Remember(m_nPort, ChosenDevice()); }

// However the dialog closes, the device is kept, as its other choices are.
void CTransmissionDlg::done(int result) {
    KeepDevice();
    QDialog::done(result);
}

// The chosen model, rate and COM number on the device the field names, without windows of
// its own; the dialog waits meanwhile (at most the model's first reply time-out).
void CTransmissionDlg::Probe() {
    ProbeDrivers drivers(m_nInstrument);
    CScopeDriver* driver = drivers.driver.get();
    driver->m_address = {m_nPort, ChosenDevice()};
    driver->m_nBaud = m_nBaud;
    CScopeProbe probe(*driver);
    CLoopHost host(probe, CPlatform{});
    m_pProbeResult->setText(KivTr("Kiv", "Sprawdzanie..."));
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    host.Run();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    m_pProbeResult->setText(QString::fromStdString(probe.Outcome().text));
}
