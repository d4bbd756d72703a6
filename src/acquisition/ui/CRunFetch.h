// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "platform/CPlatform.h"

class CAcquisition;
class CKivDoc;
class CLoopHost;
class CScopeDriver;

// The live view ("Start"/"Stop", F5): fetches into one document again and again, as fast as the
// instrument answers, with the acquisition's settings; the view, its cursors, panels and
// measurements follow each record. An SCPI instrument's connection stays open between the
// fetches. Stop ends after the fetch in flight and closes the line; a failed fetch ends the
// run with its message. The document is marked modified once, when the run ends.
class CRunFetch : public QObject {
public:
    CRunFetch(CAcquisition& acquisition, CKivDoc& doc, const CPlatform& platform);
    ~CRunFetch() override;

    // False, nothing started, when no plot is chosen to fetch.
    bool Start();
    void Stop();
    bool IsRunning() const { return m_bRunning; }
    int Updates() const { return m_nUpdates; }

    // Told the status line ("12,5 odczytu/s") after each record, an empty text at the end.
    std::function<void(const QString&)> m_fnStatus;
    // Told once the run has ended, by Stop or by a failure.
    std::function<void()> m_fnEnded;
    // Milliseconds between the end of a fetch and the next: 0 for as fast as it comes.
    int m_nIntervalMs = 0;

private:
    void Next();
    void Fetched(int result);
    void End();

    CAcquisition& m_acquisition;
    CKivDoc& m_doc;
    CPlatform m_platform;
    CScopeDriver* m_pDriver = nullptr;
    std::unique_ptr<CLoopHost> m_pHost;
    bool m_bRunning = false;
    bool m_bStopAsked = false;
    bool m_bInFlight = false;
    int m_nUpdates = 0;
    QElapsedTimer m_clock;    // since the run started
    double m_dLastStatus = 0;  // seconds, when the status was last told
};
