#include "platform/SerialDevices.h"

std::string SerialDevice::Description() const { return path; }

std::vector<SerialDevice> EnumerateSerialDevices(const SerialRoots&) { return {}; }

std::string ExplainOpenFailure(const std::string&, int, const SerialRoots&, const std::string&) { return {}; }
