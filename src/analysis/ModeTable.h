#pragma once
#include <span>
#include <string_view>

class CData;
class CKivDoc;

// Mode indices of the display modes: the index into the document's mode table and the
// order of the mode blocks in the document file.
enum KivMode {
    kModeOriginal = 0,
    kModeDerivative = 1,
    kModeIntegral = 2,
    kModeXY = 3,
    kModeSum = 4,
    kModeProduct = 5,
    kModeFourier = 6,
};

// The document file holds exactly this many mode blocks.
constexpr int kModeCount = 7;

// Command ids of the seven mode commands.
enum KivModeCommand {
    ID_MODE_ORIGINAL = 32771,
    ID_MODE_DERIVATIVE = 32774,
    ID_MODE_INTEGRAL = 32775,
    ID_MODE_FOURIER = 32777,
    ID_MODE_XY = 32778,
    ID_MODE_SUM = 32782,
    ID_MODE_PRODUCT = 32783,
};

// One display mode as the document, the menus and kivtool know it.
struct KivModeInfo {
    int index;
    int commandId;
    const char* name;      // kivtool's name, also the toolbar picture's
    const char* menuText;  // menu item text
    const char* prompt;    // "status prompt\ntooltip"
    CData* (*create)(CKivDoc* doc);
};

// The seven modes in index order.
std::span<const KivModeInfo, kModeCount> KivModes();
const KivModeInfo* FindModeByCommand(int id);
const KivModeInfo* FindModeByName(std::string_view name);
