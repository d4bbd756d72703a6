// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimText.h"

#include "platform/Translate.h"
#ifdef KIV_SIM_LANGUAGE
#include "qtcore/KivLanguage.h"
#endif

bool LoadSimLanguage() {
#ifdef KIV_SIM_LANGUAGE
    return LoadKivLanguage() || !KivWantsEnglish();
#else
    return true;  // a build without the program's Qt half has no translation to load
#endif
}

std::string SimText(const char* text, std::initializer_list<std::string> args) {
    const std::string form = KivTranslate("kiv-scope-sim", text);
    std::string out;
    for (size_t i = 0; i < form.size(); ++i) {
        const size_t n = i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '9' ? form[i + 1] - '0' : 0;
        if (form[i] == '%' && n >= 1 && n <= args.size()) {
            out += args.begin()[n - 1];
            ++i;
        } else {
            out += form[i];
        }
    }
    return out;
}
