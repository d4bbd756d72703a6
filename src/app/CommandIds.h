// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iterator>

// Command identifiers of the menus, toolbar and accelerators, and the state their update
// rules give.
enum KivCommand {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,  // print without the dialog; no menu item carries it
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_FETCH = 32786,
    ID_CURSOR = 32781,
    ID_WHITE_BACKGROUND = 32788,
    ID_PLOT1_DATA = 32796,
    ID_PLOT2_DATA = 32797,
    ID_AXIS_X_SCALE = 32799,
    ID_PLOT1_SCALE = 32800,
    ID_PLOT2_SCALE = 32801,
    ID_EXPORT = 32812,
    ID_IMPORT = 32813,
    ID_MEAN_RMS = 32814,
    ID_OFFSET_CURSOR = 32815,
    ID_GENERATOR = 32816,
    ID_MEASUREMENTS = 32817,
    ID_MEASURE_CHOOSE = 32818,
    ID_MEASURE_STATISTICS = 32819,
    ID_MEASURE_RESET = 32820,
    ID_RUN_FETCH = 32830,
    ID_SCREENSHOT = 32831,
    ID_PLOT1_TOGGLE = 32794,
    ID_PLOT2_TOGGLE = 32795,
    ID_MODE_ORIGINAL = 32771,
    ID_MODE_DERIVATIVE = 32774,
    ID_MODE_INTEGRAL = 32775,
    ID_MODE_FOURIER = 32777,
    ID_MODE_XY = 32778,
    ID_MODE_SUM = 32782,
    ID_MODE_PRODUCT = 32783,
};

// The mode commands in the document's mode order (KivMode).
inline constexpr int kModeCommands[] = {ID_MODE_ORIGINAL, ID_MODE_DERIVATIVE, ID_MODE_INTEGRAL, ID_MODE_XY,
                                        ID_MODE_SUM,      ID_MODE_PRODUCT,    ID_MODE_FOURIER};

// The mode a command chooses; -1 for a command that chooses none.
constexpr int ModeOfCommand(int id) {
    for (int i = 0; i < static_cast<int>(std::size(kModeCommands)); ++i)
        if (kModeCommands[i] == id) return i;
    return -1;
}

struct CmdState {
    bool enabled = false;
    bool checked = false;
};
