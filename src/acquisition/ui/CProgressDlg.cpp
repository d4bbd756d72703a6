#include "acquisition/ui/CProgressDlg.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/CComPort.h"
#include "qtcore/KivLanguage.h"

CProgressDlg::CProgressDlg(IHostedDialogue& driver, const CPlatform& platform, QWidget* parent)
    : QDialog(parent), m_driver(driver), m_platform(platform) {
    setWindowTitle(KivTr("Kiv", "Wczytywanie danych"));
    setModal(true);
    m_pBar = new QProgressBar(this);
    m_pBar->setObjectName(QStringLiteral("1049"));
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setTextVisible(false);
    auto* cancel = new QPushButton(KivTr("Kiv", "Anuluj"), this);
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    connect(cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(KivTr("Kiv", "Postęp"), this));
    layout->addWidget(m_pBar);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    // The framework's timers repeat until they are stopped.
    connect(&m_replyTimer, &QTimer::timeout, this, [this] { m_driver.OnTimer(kReplyTimer); });
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { m_driver.OnTimer(kStepTimer); });
    m_createPort = [] { return std::make_unique<CComPort>(); };
}

CProgressDlg::~CProgressDlg() { m_driver.Detach(); }

int CProgressDlg::BarPos() const { return m_pBar->value(); }

int CProgressDlg::Scaled(int ms) const { return std::max(1, static_cast<int>(ms * m_dTimeScale)); }
void CProgressDlg::SetReplyTimer(int ms) { m_replyTimer.start(Scaled(ms)); }
void CProgressDlg::KillReplyTimer() { m_replyTimer.stop(); }
void CProgressDlg::SetStepTimer(int ms) { m_stepTimer.start(Scaled(ms)); }
void CProgressDlg::KillStepTimer() { m_stepTimer.stop(); }

void CProgressDlg::SetBarPos(int pos) {
    // Drivers report after every byte; a bar that has not moved needs no synchronous paint.
    if (m_pBar->value() == pos) return;
    m_pBar->setValue(pos);
    m_pBar->repaint();
}

void CProgressDlg::EndDialog(int result) {
    m_replyTimer.stop();
    m_stepTimer.stop();
    done(result);
}

std::unique_ptr<ISerialPort> CProgressDlg::CreatePort() { return m_createPort(); }

// The reader thread waits until the task has run here, or until the port shuts down; a
// dialog already gone drops the task (Qt discards calls queued to a destroyed object).
void CProgressDlg::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void CProgressDlg::OnComPortMessage(int message, unsigned param, unsigned) {
    if (message == WM_COMPORT_RXCHAR) m_driver.OnChar(static_cast<uint8_t>(param));
}

void CProgressDlg::OnComPortError(const std::string& text) {
    m_platform.Message(text, "Application Error", MsgIcon::Error);
}

void CProgressDlg::OnComPortGone() { m_driver.OnLineGone(); }

// The driver starts once the window is up, from the event loop, so that a dialogue that
// ends at once (no plot chosen) ends the dialog's own loop.
void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_bStarted) return;
    m_bStarted = true;
    m_pBar->setValue(0);
    QTimer::singleShot(0, this, [this] { m_driver.Start(this); });
}

void CProgressDlg::reject() {
    m_driver.ClosePort();
    EndDialog(kDialogCancel);
}
