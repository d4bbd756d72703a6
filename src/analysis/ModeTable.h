// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <span>
#include <string_view>

class CData;
class IModeHost;

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

// One display mode as the document and kivtool know it.
struct KivModeInfo {
    int index;
    const char* name;  // kivtool's name, also the toolbar picture's
    CData* (*create)(IModeHost* host);
};

// The seven modes in index order.
std::span<const KivModeInfo, kModeCount> KivModes();
const KivModeInfo* FindModeByName(std::string_view name);
