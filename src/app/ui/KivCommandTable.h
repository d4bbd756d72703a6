// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>

// One row per command of the menus, the toolbar and the accelerators. The menus, the
// toolbar and the key bindings are built from these rows and the layouts below.
struct KivCommandRow {
    int id;
    const char* text;    // menu text with its "&" mnemonic and "\t" keys; toolbar-only rows carry the tooltip
    const char* keys;    // accelerators in QKeySequence's portable form, "|" between two; "" for none
    const char* prompt;  // "status prompt\ntooltip", "status prompt" alone, or "" for none
    const char* icon;    // toolbar picture in the resources, or nullptr
};

enum class KivMenuKind { Command, Separator, Popup, EndPopup, RecentFiles };

// One entry of a menu layout. A Popup opens a submenu (nested until its EndPopup); a
// Command at the top level sits on the menu bar itself. text, when given, replaces the
// row's menu text for this one place.
struct KivMenuItem {
    KivMenuKind kind;
    int id = 0;
    const char* text = nullptr;
};

constexpr int kMaxRecentFiles = 4;

std::span<const KivCommandRow> KivCommands();
const KivCommandRow* FindKivCommand(int id);
// Menu bar with no document open, and with one.
std::span<const KivMenuItem> KivMenuNoDocument();
std::span<const KivMenuItem> KivMenuDocument();
// Toolbar buttons left to right; 0 is a separator.
std::span<const int> KivToolbarLayout();
