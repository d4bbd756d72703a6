// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The serial device the user chose for each COM number, kept in the user's settings
// (~/.config/Kiv/Kiv.conf, group "Porty"): Kiv.cfg keeps its 20 bytes and only the number.
// A USB adapter is kept under its /dev/serial/by-id name, so it is found again in any socket.
class CPortSettings {
public:
    // Tells the core every remembered device (platform/PortDevices.h); at start.
    static void Load();
    // Remembers device for COMn, in the settings and the core; empty forgets it. A device the
    // serial list knows a by-id name for is kept under that name.
    static void Remember(unsigned port, const std::string& device);
    static std::string Remembered(unsigned port);
};
