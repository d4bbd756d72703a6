// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SerialDevices.h"

#include "platform/Translate.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>
#include <tuple>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The serial nodes by name: one of these prefixes and a number, nothing else.
constexpr const char* kPrefixes[] = {"ttyUSB", "ttyACM", "ttyS", "rfcomm"};

bool AllDigits(const std::string& text, size_t from = 0) {
    return std::all_of(text.begin() + static_cast<long>(from), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const char* SerialPrefix(const std::string& name, unsigned long& number) {
    for (const char* prefix : kPrefixes) {
        const size_t length = std::strlen(prefix);
        if (name.compare(0, length, prefix) != 0 || name.size() == length || name.size() > length + 9 ||
            !AllDigits(name, length))
            continue;
        number = std::stoul(name.substr(length));
        return prefix;
    }
    return nullptr;
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A sysfs attribute's first line; empty when it is missing or no file. Non-blocking, so a
// stray fifo in its place cannot hang the list.
std::string ReadAttribute(const fs::path& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info;
    char text[256];
    ssize_t got = 0;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        got = read(fd, text, sizeof text);
    close(fd);
    std::string line;
    for (ssize_t i = 0; i < got && static_cast<unsigned char>(text[i]) >= 0x20; ++i)
        line += text[i];
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

bool Within(const fs::path& path, const fs::path& root) {
    return std::mismatch(root.begin(), root.end(), path.begin(), path.end()).first == root.end();
}

// The USB device above the tty's interface: the first ancestor inside sysfs with an idVendor.
fs::path UsbDeviceFolder(const SerialRoots& roots, const std::string& name, const char* devClass = "tty") {
    std::error_code error;
    const fs::path sys = fs::canonical(roots.sys, error);
    if (error)
        return {};
    fs::path node = fs::canonical(sys / "class" / devClass / name / "device", error);
    for (; !error && node != sys && Within(node, sys); node = node.parent_path())
        if (access((node / "idVendor").c_str(), F_OK) == 0)
            return node;
    return {};
}

using NodeId = std::pair<dev_t, ino_t>;

bool Identify(const std::string& path, NodeId& id) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

std::string SystemText(int error) { return std::system_category().message(error); }

// The existing serial devices but the one that failed, for a message.
std::string OtherDevices(const std::string& device, const SerialRoots& roots) {
    std::string list;
    for (const SerialDevice& found : EnumerateSerialDevices(roots))
        if (found.path != device)
            list += (list.empty() ? "" : "; ") + found.Description();
    if (list.empty())
        return KivTranslate("Kiv", KIV_TR_NOOP("Kiv",
            "Nie znaleziono żadnego portu szeregowego: sprawdź, czy urządzenie jest podłączone."));
    return KivText(KIV_TR_NOOP("Kiv", "Dostępne porty szeregowe: %1."), {list});
}

std::string PermissionAdvice(const std::string& device) {
    std::vector<char> buffer(16384);
    struct stat info;
    struct group group, *found = nullptr;
    // Joining root's group is no advice to give.
    if (stat(device.c_str(), &info) != 0 || info.st_gid == 0 ||
        getgrgid_r(info.st_gid, &group, buffer.data(), buffer.size(), &found) != 0 || !found)
        return KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "Poproś administratora o dostęp do tego urządzenia."));
    const std::string name = found->gr_name;
    struct passwd user, *me = nullptr;
    std::string login = "$USER";
    if (getpwuid_r(geteuid(), &user, buffer.data(), buffer.size(), &me) == 0 && me)
        login = me->pw_name;
    return KivText(KIV_TR_NOOP("Kiv", "Urządzenie należy do grupy %1: dodaj użytkownika do tej grupy "
                                      "(sudo usermod -aG %1 %2) i zaloguj się ponownie."),
                   {name, login});
}

// A process with a descriptor on the device, where its fd folder may be read.
std::string HolderAdvice(const std::string& device, const std::string& procRoot) {
    std::error_code error;
    const fs::path real = fs::canonical(device, error);
    for (const std::string& pid : Entries(procRoot)) {
        if (!AllDigits(pid))
            continue;
        const fs::path process = fs::path(procRoot) / pid;
        for (const std::string& fd : Entries(process / "fd")) {
            const fs::path target = fs::read_symlink(process / "fd" / fd, error);
            if (error || (target != device && (real.empty() || target != real)))
                continue;
            const std::string name = ReadAttribute(process / "comm");
            if (name.empty())
                return KivText(KIV_TR_NOOP("Kiv", "Używa go program (PID %1): zamknij go i spróbuj ponownie."), {pid});
            return KivText(KIV_TR_NOOP("Kiv", "Używa go program %1 (PID %2): zamknij go i spróbuj ponownie."),
                           {name, pid});
        }
    }
    return KivTranslate("Kiv", KIV_TR_NOOP("Kiv", "Używa go inny program: zamknij go i spróbuj ponownie."));
}

}  // namespace

std::string SerialDevice::Description() const {
    std::string name = manufacturer;
    if (!product.empty())
        name += (name.empty() ? "" : " ") + product;
    std::string text = path;
    if (!name.empty())
        text += " — " + name;
    if (!serial.empty())
        text += " (" + serial + ")";
    return text;
}

std::vector<SerialDevice> EnumerateSerialDevices(const SerialRoots& roots) {
    const fs::path dev = roots.dev, byId = dev / "serial/by-id";
    std::map<NodeId, std::string> stableNames;
    for (const std::string& name : Entries(byId)) {
        NodeId id;
        if (Identify((byId / name).string(), id))
            stableNames.emplace(id, (byId / name).string());  // the first name by order
    }

    std::vector<std::tuple<std::string, unsigned long, SerialDevice>> found;
    for (const std::string& name : Entries(dev)) {
        unsigned long number = 0;
        const char* prefix = SerialPrefix(name, number);
        struct stat info;
        SerialDevice device;
        device.path = (dev / name).string();
        if (!prefix || stat(device.path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
            continue;
        // A ttyS of the legacy table without a UART; one whose type cannot be read is shown.
        if (std::strcmp(prefix, "ttyS") == 0 && ReadAttribute(fs::path(roots.sys) / "class/tty" / name / "type") == "0")
            continue;
        const auto stable = stableNames.find({info.st_dev, info.st_ino});
        if (stable != stableNames.end())
            device.byId = stable->second;
        const fs::path usb = UsbDeviceFolder(roots, name);
        device.usb = !usb.empty() || std::strcmp(prefix, "ttyUSB") == 0 || std::strcmp(prefix, "ttyACM") == 0;
        if (!usb.empty()) {
            device.manufacturer = ReadAttribute(usb / "manufacturer");
            device.product = ReadAttribute(usb / "product");
            device.serial = ReadAttribute(usb / "serial");
        }
        device.accessible = access(device.path.c_str(), R_OK | W_OK) == 0;
        found.emplace_back(prefix, number, std::move(device));
    }
    // By path, with the numbers in numeric order: ttyS2 before ttyS10.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<SerialDevice> devices;
    for (auto& entry : found)
        devices.push_back(std::move(std::get<2>(entry)));
    return devices;
}

std::string ExplainOpenFailure(const std::string& device, int error, const SerialRoots& roots,
                               const std::string& procRoot) {
    if (error == 0)
        return {};
    // Each sentence is translated whole; the advice follows the first one after a space.
    auto said = [&](const char* text) { return KivText(text, {device, SystemText(error)}) + " "; };
    switch (error) {
        case ENOENT:
            return said(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: takie urządzenie nie istnieje (%2).")) +
                   OtherDevices(device, roots);
        case ENOTTY:
        case EISDIR:
            return said(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: to nie jest port szeregowy (%2).")) +
                   OtherDevices(device, roots);
        // The ttyS of a COM number on a machine without that port opens with EIO.
        case EIO:
        case ENXIO:
        case ENODEV:
            return said(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: za tym portem nie ma sprzętu (%2).")) +
                   OtherDevices(device, roots);
        case EACCES:
        case EPERM:
            return said(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: brak uprawnień (%2).")) + PermissionAdvice(device);
        case EBUSY:
            return said(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: urządzenie jest zajęte (%2).")) +
                   HolderAdvice(device, procRoot);
        default:
            return KivText(KIV_TR_NOOP("Kiv", "Nie można otworzyć %1: %2."), {device, SystemText(error)});
    }
}

// The kernel's USBTMC nodes (usbtmc0, usbtmc1, …) and the USB instrument behind each.
std::vector<SerialDevice> EnumerateUsbTmcDevices(const SerialRoots& roots) {
    std::vector<std::pair<unsigned long, SerialDevice>> found;
    for (const std::string& name : Entries(fs::path(roots.sys) / "class/usbmisc")) {
        if (name.compare(0, 6, "usbtmc") != 0 || name.size() == 6 || name.size() > 15 || !AllDigits(name, 6)) continue;
        SerialDevice device;
        device.path = (fs::path(roots.dev) / name).string();
        device.usb = true;
        if (const fs::path usb = UsbDeviceFolder(roots, name, "usbmisc"); !usb.empty()) {
            device.manufacturer = ReadAttribute(usb / "manufacturer");
            device.product = ReadAttribute(usb / "product");
            device.serial = ReadAttribute(usb / "serial");
            const std::string vendor = ReadAttribute(usb / "idVendor"), product = ReadAttribute(usb / "idProduct");
            if (!vendor.empty() && !product.empty()) device.usbId = vendor + ":" + product;
        }
        device.accessible = access(device.path.c_str(), R_OK | W_OK) == 0;
        found.emplace_back(std::stoul(name.substr(6)), std::move(device));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<SerialDevice> devices;
    for (auto& f : found) devices.push_back(std::move(f.second));
    return devices;
}

std::string UsbTmcPermissionAdvice(const std::string& device) {
    return KivText(KIV_TR_NOOP("Kiv",
        "Brak dostępu do %1. Reguła udev daje go zalogowanemu użytkownikowi: plik "
        "/etc/udev/rules.d/70-kiv-usbtmc.rules z wierszem SUBSYSTEM==\"usbmisc\", KERNEL==\"usbtmc[0-9]*\", "
        "TAG+=\"uaccess\" (albo GROUP=\"plugdev\", MODE=\"0660\" dla członków grupy), potem "
        "sudo udevadm control --reload-rules i ponowne podłączenie przyrządu."), {device});
}
