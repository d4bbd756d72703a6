// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QSettings>
#include <memory>

// The program's own per-user settings (~/.config/Kiv/Kiv.conf): not the recent-file profile,
// and never the document file.
std::unique_ptr<QSettings> KivUserSettings();
