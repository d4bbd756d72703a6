// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <initializer_list>
#include <string>

#include "platform/TrNoop.h"

// The core's way to the chosen language without Qt: the desktop side installs a translator
// (see platform/ui/KivLanguage.h); without one every text stays the Polish source.
using KivTranslator = std::string (*)(const char* context, const char* text);

// nullptr removes the translator again.
void SetKivTranslator(KivTranslator translator);

std::string KivTranslate(const char* context, const char* text);

// A composed message: the template, marked KIV_TR_NOOP("Kiv", ...), is translated whole and
// only then %1..%n are filled in, in one pass (an argument's own "%1" stays as it is).
std::string KivText(const char* text, std::initializer_list<std::string> args);
