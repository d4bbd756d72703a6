// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <string>

// The language of kiv and kivtool, chosen in one place: KIV_LANG=pl|en first, otherwise
// Polish on a Polish desktop and English everywhere else. Polish is the source language;
// English comes from kiv_en.qm.

// True when the choice above asks for English.
bool KivWantsEnglish();

// Loads the translation the choice asks for (none for Polish) and, when an application
// object exists, installs it for tr() and the core's KivTranslate. Returns true when the texts are now English.
// A second call follows a changed KIV_LANG.
bool LoadKivLanguage();

// Drops the translation again: the texts are Polish.
void UnloadKivLanguage();

// The text in the chosen language; the Polish source when nothing is loaded or the
// translation lacks it. Texts marked with KIV_TR_NOOP("Kiv", ...) go through here.
QString KivTr(const char* context, const char* text);
std::string KivTrStd(const char* context, const std::string& text);
