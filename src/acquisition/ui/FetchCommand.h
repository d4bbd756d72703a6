// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/CPlatform.h"

class CAcquisition;
class CKivDoc;
class QWidget;

// "O&twórz wykres": the data-source dialog, then the chosen instrument's dialogue in the
// progress window, then the fetched plots into the document. Returns the fetch status;
// for statuses other than 0 (success) and 1 (cancelled) "Błąd transmisji" has been shown.
int RunFetchCommand(CAcquisition& acquisition, CKivDoc& doc, const CPlatform& platform, QWidget* parent);

