// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks a user-visible text of the core for translation without pulling Qt in: the text
// stays the Polish source, the desktop side looks it up by context and text when it
// shows it (lupdate reads this macro as QT_TRANSLATE_NOOP).
#define KIV_TR_NOOP(context, text) text
