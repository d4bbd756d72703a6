// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/CRunFetch.h"

#include <QLocale>
#include <QTimer>

#include "acquisition/CAcquisition.h"
#include "document/CKivDoc.h"
#include "qtcore/CLoopHost.h"
#include "qtcore/KivLanguage.h"

CRunFetch::CRunFetch(CAcquisition& acquisition, CKivDoc& doc, const CPlatform& platform)
    : m_acquisition(acquisition), m_doc(doc), m_platform(platform) {}

CRunFetch::~CRunFetch() {
    if (m_pDriver) {
        m_pDriver->m_bKeepLine = false;
        m_pDriver->ClosePort();
    }
    m_pHost.reset();  // before the driver it names could go
}

bool CRunFetch::Start() {
    if (m_bRunning) return true;
    const AcquisitionSettings& s = m_acquisition.m_settings;
    if (!(s.bPlot1 && s.nPlot1Channel) && !(s.bPlot2 && s.nPlot2Channel)) return false;
    CScopeDriver* driver = &m_acquisition.PrepareDriver();
    // A host is bound to its driver: a run with another model gets a new one (here, never from
    // inside the old one's calls).
    if (!m_pHost || driver != m_pDriver) {
        m_pHost.reset();
        m_pHost = std::make_unique<CLoopHost>(*driver, m_platform);
        m_pHost->m_fnEnd = [this](int result) { Fetched(result); };
    }
    m_pDriver = driver;
    m_pDriver->m_bKeepLine = true;
    m_bRunning = true;
    m_bStopAsked = false;
    m_nUpdates = 0;
    m_dLastStatus = 0;
    m_clock.start();
    Next();
    return true;
}

void CRunFetch::Stop() {
    if (!m_bRunning) return;
    m_bStopAsked = true;
    if (!m_bInFlight) End();
}

void CRunFetch::Next() {
    if (m_bStopAsked) return End();
    m_bInFlight = true;
    m_acquisition.PrepareDriver();
    m_pHost->StartFromLoop();
}

void CRunFetch::Fetched(int result) {
    m_bInFlight = false;
    const int status = m_acquisition.FinishFetch(m_doc.Source(), result);
    if (status != kFetchOk) {
        ReportFetchStatus(status, m_platform);
        return End();
    }
    ++m_nUpdates;
    m_doc.RecordArrived();  // a record for the statistics; the document is marked at the end
    const double seconds = m_clock.elapsed() / 1000.0;
    // A few times a second is enough for a rate; more would only redraw the status bar.
    if (m_fnStatus && (seconds - m_dLastStatus >= 0.5 || m_nUpdates == 1)) {
        m_dLastStatus = seconds;
        const double rate = seconds > 0 ? m_nUpdates / seconds : 0;
        m_fnStatus(KivTr("Kiv", "Pobieranie ciągłe: %1 odczytu/s (%2)").arg(QLocale().toString(rate, 'f', 1)).arg(m_nUpdates));
    }
    // Through the loop: the view paints the record before the next fetch starts.
    QTimer::singleShot(m_nIntervalMs, this, [this] { Next(); });
}

// Whatever ends the run leaves the line closed and the document marked once. It may be called
// from inside the host's own call (a failed fetch): the host stays until the next run.
void CRunFetch::End() {
    if (!m_bRunning) return;
    m_bRunning = m_bStopAsked = false;
    if (m_pDriver) {
        m_pDriver->m_bKeepLine = false;
        m_pDriver->ClosePort();
    }
    if (m_nUpdates > 0) m_doc.SetModifiedFlag(true);
    if (m_fnStatus) m_fnStatus(QString());
    if (m_fnEnded) m_fnEnded();
}
