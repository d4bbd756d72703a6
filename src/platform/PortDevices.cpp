// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortDevices.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

namespace {

std::mutex g_lock;
std::map<unsigned, std::string>& Remembered() {
    static std::map<unsigned, std::string> devices;
    return devices;
}

}  // namespace

std::string ResolvePortDevice(unsigned port) {
    char name[50];
    std::snprintf(name, sizeof name, "KIV_COM%u", port);
    if (const char* device = std::getenv(name)) return device;
    std::string remembered = RememberedPortDevice(port);
    if (!remembered.empty()) return remembered;
    return "/dev/ttyS" + std::to_string(static_cast<long>(port) - 1);
}

void RememberPortDevice(unsigned port, const std::string& device) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (device.empty()) Remembered().erase(port);
    else Remembered()[port] = device;
}

std::string RememberedPortDevice(unsigned port) {
    std::lock_guard<std::mutex> lock(g_lock);
    const auto it = Remembered().find(port);
    return it == Remembered().end() ? std::string() : it->second;
}
