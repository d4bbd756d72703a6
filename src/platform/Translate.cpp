// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translate.h"

#include <vector>

namespace {

KivTranslator g_translator = nullptr;

}  // namespace

void SetKivTranslator(KivTranslator translator) { g_translator = translator; }

std::string KivTranslate(const char* context, const char* text) {
    return g_translator ? g_translator(context, text) : std::string(text);
}

std::string KivText(const char* text, std::initializer_list<std::string> args) {
    const std::string pattern = KivTranslate("Kiv", text);
    const std::vector<std::string> values(args);
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        size_t end = i + 1;
        size_t number = 0;
        while (pattern[i] == '%' && end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9' && end - i < 3)
            number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
        if (number >= 1 && number <= values.size()) {
            out += values[number - 1];
            i = end - 1;
        } else {
            out += pattern[i];
        }
    }
    return out;
}
