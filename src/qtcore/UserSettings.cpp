// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtcore/UserSettings.h"

std::unique_ptr<QSettings> KivUserSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kiv"),
                                       QStringLiteral("Kiv"));
}
