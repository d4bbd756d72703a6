// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <initializer_list>
#include <string>

#include "platform/TrNoop.h"

// The simulator speaks kiv's language: its texts are Polish sources marked
// KIV_TR_NOOP("kiv-scope-sim", ...), shown in English where kivtool would speak English (the
// same choice from KIV_LANG, LC_ALL, LC_MESSAGES and LANG) and the build has the translation.

// Loads the translation the environment asks for; false when English was asked for and its
// file is not there (the texts stay Polish).
bool LoadSimLanguage();
// The text in that language, %1, %2 ... filled from args in one pass (an argument's own "%1"
// stays as it is).
std::string SimText(const char* text, std::initializer_list<std::string> args = {});
