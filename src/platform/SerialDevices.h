// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

// Where the enumerator looks; parameters so that tests run it on a fake tree.
struct SerialRoots {
    std::string sys = "/sys";
    std::string dev = "/dev";
};

// A serial device of the machine.
struct SerialDevice {
    std::string path;  // the node under the dev root, e.g. /dev/ttyUSB0
    std::string byId;  // its stable name under <dev>/serial/by-id, empty when there is none
    std::string manufacturer, product, serial;  // of a USB adapter, where sysfs tells them
    std::string usbId;                          // its vendor:product ("1ab1:04ce"), where sysfs tells them
    bool usb = false;
    bool accessible = false;  // this user may open it for reading and writing

    // What a list shows: "/dev/ttyUSB0 — FTDI FT232R USB UART (A50285BI)", or the path alone.
    std::string Description() const;
};

// The machine's serial devices: ttyUSB*, ttyACM*, rfcomm*, and ttyS* with a real UART behind
// them (legacy ports whose sysfs type is 0 are left out), sorted by path with numbers in numeric
// order. Entries whose attributes cannot be read are listed with what could be read.
std::vector<SerialDevice> EnumerateSerialDevices(const SerialRoots& roots = {});

// Why a device would not open (the errno of the open), in the program's words with what to do:
// a device that does not exist (and which ones do), no permission (its group, e.g. dialout, and
// that the user must join it and log in again), busy (the program holding it, where /proc tells),
// not a terminal device, no hardware behind the port. Empty for no error.
std::string ExplainOpenFailure(const std::string& device, int error, const SerialRoots& roots = {},
                               const std::string& procRoot = "/proc");

// The machine's USB instruments behind the kernel's USBTMC driver (/dev/usbtmcN), in number
// order, with the maker, product, serial number and USB id that sysfs gives.
std::vector<SerialDevice> EnumerateUsbTmcDevices(const SerialRoots& roots = {});
// What to do about a USBTMC node this user may not open: the udev rule that gives it to the
// logged-in user (TAG+="uaccess") or to a group.
std::string UsbTmcPermissionAdvice(const std::string& device);
