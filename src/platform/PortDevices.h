// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

// The device each COM number stands for: the environment's KIV_COMn first (scripts and tests
// point it at a simulator), then the device the user chose for that COM in the transmission
// dialog (kept in the user's settings by the desktop half, told to the core here), else
// /dev/ttyS<n-1>. Kiv.cfg keeps only the number.
std::string ResolvePortDevice(unsigned port);
// The user's choice for COMn; an empty device forgets it.
void RememberPortDevice(unsigned port, const std::string& device);
std::string RememberedPortDevice(unsigned port);
