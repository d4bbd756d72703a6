// SPDX-License-Identifier: GPL-3.0-or-later
// kivtool ports: the machine's serial devices and USBTMC instruments, as the transmission
// dialog lists them.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "KivTool.h"
#include "KivToolCommon.h"
#include "platform/SerialDevices.h"
#include "platform/TrNoop.h"

namespace {

QJsonValue TextOrNull(const std::string& s) {
    return s.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromLocal8Bit(s.c_str()));
}

struct Listed {
    SerialDevice device;
    const char* kind;
};

}  // namespace

int KivToolPorts(const KivToolCall& call) {
    std::vector<Listed> listed;
    for (SerialDevice& d : EnumerateSerialDevices()) listed.push_back({std::move(d), "serial"});
    for (SerialDevice& d : EnumerateUsbTmcDevices()) listed.push_back({std::move(d), "usbtmc"});
    if (call.Has("json")) {
        QJsonArray list;
        for (const auto& [d, kind] : listed)
            list.append(QJsonObject{{"path", TextOrNull(d.path)},
                                    {"by_id", TextOrNull(d.byId)},
                                    {"kind", kind},
                                    {"description", TextOrNull(d.Description())},
                                    {"manufacturer", TextOrNull(d.manufacturer)},
                                    {"product", TextOrNull(d.product)},
                                    {"serial", TextOrNull(d.serial)},
                                    {"usb", d.usb},
                                    {"usb_id", TextOrNull(d.usbId)},
                                    {"accessible", d.accessible}});
        std::fputs(QJsonDocument(list).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        // One device a line: path, by-id name, the USB device as the list describes it with its
        // id, whether this user may open it.
        for (const auto& [d, kind] : listed) {
            const std::string full = d.Description(), lead = d.path + " — ";
            std::string about = full.rfind(lead, 0) == 0 ? full.substr(lead.size()) : "";
            if (!d.usbId.empty()) about += (about.empty() ? "" : ", ") + ("USB " + d.usbId);
            const std::string access =
                KivToolText(d.accessible ? KIV_TR_NOOP("kivtool", "dostęp") : KIV_TR_NOOP("kivtool", "brak dostępu"));
            std::printf("%s\t%s\t%s\t%s\n", d.path.c_str(), d.byId.empty() ? "-" : d.byId.c_str(),
                        about.empty() ? "-" : about.c_str(), access.c_str());
        }
    }
    // What to do about an instrument this user may not open, once: the rule covers them all.
    for (const auto& [d, kind] : listed)
        if (std::string_view(kind) == "usbtmc" && !d.accessible) {
            KivToolNote(UsbTmcPermissionAdvice(d.path));
            break;
        }
    return kExitOk;
}
