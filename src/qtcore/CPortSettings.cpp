// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtcore/CPortSettings.h"

#include <QString>
#include <memory>

#include "platform/PortDevices.h"
#include "platform/SerialDevices.h"
#include "qtcore/UserSettings.h"

namespace {

constexpr unsigned kPorts = 4;  // COM1..COM4, as the dialog offers them

QString Key(unsigned port) { return QStringLiteral("Porty/COM%1").arg(port); }

}  // namespace

void CPortSettings::Load() {
    const auto settings = KivUserSettings();
    for (unsigned port = 1; port <= kPorts; ++port)
        RememberPortDevice(port, settings->value(Key(port)).toString().toLocal8Bit().toStdString());
}

void CPortSettings::Remember(unsigned port, const std::string& device) {
    std::string kept = device;
    for (const SerialDevice& d : EnumerateSerialDevices())
        if (d.path == device && !d.byId.empty()) kept = d.byId;
    const auto settings = KivUserSettings();
    if (kept.empty()) settings->remove(Key(port));
    else settings->setValue(Key(port), QString::fromLocal8Bit(kept.c_str()));
    RememberPortDevice(port, kept);
}

std::string CPortSettings::Remembered(unsigned port) {
    return KivUserSettings()->value(Key(port)).toString().toLocal8Bit().toStdString();
}
