// SPDX-License-Identifier: GPL-3.0-or-later
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
    if (what != "options" && call.Files().size() > 1)
        return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "nieoczekiwany argument %1"), {call.File(1)}));
    if (what == "commands") {
        for (const KivToolCommand& c : KivToolCommands())
            if (!c.hidden) words.push_back(c.name);
    } else if (what == "options") {
        // Each option, and after one that takes a value a tab and the value's name, so that
        // the completion tells switches from options with a value.
        const std::string name = call.Files().size() > 1 ? call.File(1) : "";
        const auto& commands = KivToolCommands();
        const auto command = std::find_if(commands.begin(), commands.end(), [&](const KivToolCommand& c) {
            return !c.hidden && name == c.name;
        });
        if (command == commands.end())
            return KivToolUsage(KivToolText(KIV_TR_NOOP("kivtool", "nieznane polecenie %1 (kivtool --help je wymienia)"),
                                            {name}));
        for (const KivToolOption& o : command->options)
            words.push_back("--" + std::string(o.name) + (o.valueName ? "\t" + KivToolText(o.valueName) : ""));
        words.push_back("--help");
    } else if (what == "models") {
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
            KIV_TR_NOOP("kivtool", "complete przyjmuje commands, options, models, channels, modes, formats lub devices, nie %1"),
            {what}));
    }
    std::string out;
    for (const std::string& w : words) out += w + "\n";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}
