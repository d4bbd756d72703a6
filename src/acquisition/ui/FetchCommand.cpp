// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/FetchCommand.h"

#include "acquisition/CAcquisition.h"
#include "acquisition/ui/CProgressDlg.h"
#include "acquisition/ui/CSourceDlg.h"
#include "document/CKivDoc.h"

int RunFetchCommand(CAcquisition& acquisition, CKivDoc& doc, const CPlatform& platform, QWidget* parent) {
    CSourceDlg source(acquisition.m_settings, parent);
    if (source.exec() != QDialog::Accepted) return kFetchCancelled;
    // The channel-count byte stays as the configuration had it.
    const uint8_t channels = acquisition.m_settings.nChannels;
    acquisition.m_settings = source.Settings();
    acquisition.m_settings.nChannels = channels;

    CScopeDriver& driver = acquisition.PrepareDriver();
    CProgressDlg progress(driver, platform, parent);
    const int status = acquisition.FinishFetch(doc.Source(), progress.exec());
    if (status == kFetchOk) doc.DataEdited();
    ReportFetchStatus(status, platform);
    return status;
}
