// kivtool ports: the machine's serial devices, as the transmission dialog lists them.
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

}  // namespace

int KivToolPorts(const KivToolCall& call) {
    const std::vector<SerialDevice> devices = EnumerateSerialDevices();
    if (call.Has("json")) {
        QJsonArray list;
        for (const SerialDevice& d : devices)
            list.append(QJsonObject{{"path", TextOrNull(d.path)},
                                    {"by_id", TextOrNull(d.byId)},
                                    {"description", TextOrNull(d.Description())},
                                    {"manufacturer", TextOrNull(d.manufacturer)},
                                    {"product", TextOrNull(d.product)},
                                    {"serial", TextOrNull(d.serial)},
                                    {"usb", d.usb},
                                    {"accessible", d.accessible}});
        std::fputs(QJsonDocument(list).toJson(QJsonDocument::Indented).constData(), stdout);
        return kExitOk;
    }
    // One device a line: path, by-id name, the adapter as the list describes it, whether this
    // user may open it.
    for (const SerialDevice& d : devices) {
        const std::string full = d.Description(), lead = d.path + " — ";
        const std::string about = full.rfind(lead, 0) == 0 ? full.substr(lead.size()) : "-";
        const std::string access =
            KivToolText(d.accessible ? KIV_TR_NOOP("kivtool", "dostęp") : KIV_TR_NOOP("kivtool", "brak dostępu"));
        std::printf("%s\t%s\t%s\t%s\n", d.path.c_str(), d.byId.empty() ? "-" : d.byId.c_str(), about.c_str(),
                    access.c_str());
    }
    return kExitOk;
}
