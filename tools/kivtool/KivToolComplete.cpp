// kivtool complete WHAT: the words bash completes (completion/kivtool) that only the program
// knows, one a line, so that the completion never lists models, modes, forms or devices of
// its own.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "KivTool.h"
#include "KivToolForms.h"
#include "acquisition/ScopeRegistry.h"
#include "analysis/ModeTable.h"
#include "document/CFileForms.h"
#include "platform/SerialDevices.h"
#include "platform/TrNoop.h"

int KivToolComplete(const KivToolCall& call) {
    const std::string& what = call.File(0);
    std::vector<std::string> words;
    if (what == "models") {
        // As --model takes them: the index Kiv.cfg stores, the key, auto.
        for (int i = 0; i < kScopeModelCount; ++i) words.push_back(std::to_string(i));
        for (int i = 0; i < kScopeModelCount; ++i) words.push_back(ScopeModelAt(i).key);
        words.push_back("auto");
    } else if (what == "channels") {
        int most = 0;
        for (int i = 0; i < kScopeModelCount; ++i) most = std::max<int>(most, ScopeModelAt(i).channels);
        for (int n = 1; n <= most; ++n) words.push_back(std::to_string(n));
        words.push_back("off");
    } else if (what == "modes") {
        for (const KivModeInfo& m : KivModes()) words.push_back(m.name);
    } else if (what == "formats") {
        if (!KivToolForms()) return kExitFailure;  // the picture forms register from there
        for (const CExportForm* f : CFileForms::Exports()) words.push_back(f->Name());
    } else if (what == "devices") {
        // What kivtool ports lists: each path, and its stable name where it has one.
        for (const SerialDevice& d : EnumerateSerialDevices()) {
            words.push_back(d.path);
            if (!d.byId.empty()) words.push_back(d.byId);
        }
        for (const SerialDevice& d : EnumerateUsbTmcDevices()) words.push_back(d.path);
    } else {
        return KivToolUsage(KivToolText(
            KIV_TR_NOOP("kivtool", "complete przyjmuje models, channels, modes, formats lub devices, nie %1"), {what}));
    }
    std::string out;
    for (const std::string& w : words) out += w + "\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}
