// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "acquisition/ScopeModel.h"

class CScopeDriver;
struct RawTrace;

// The sample codes a model's fetch can hand over, whatever its instrument sends.
struct SampleCodeRange {
    int32_t lowest, highest;
};

// What a driver's folder, drivers/<key>/, hands to the registry: its model entry, the codes
// its traces can hold (the driver fuzzer checks every fetched sample against them) and how
// to make the driver (traces[0] and traces[1] receive plot 1 and plot 2).
struct ScopeDriverEntry {
    ScopeModel model;
    SampleCodeRange codes;
    std::unique_ptr<CScopeDriver> (*create)(RawTrace* traces);
};

// The function that hands drivers/<key>/'s entry over, defined in that folder. The list of
// keys is generated from KIV_SCOPE_DRIVERS in src/CMakeLists.txt and names every such
// function, so the linker keeps each driver of the static library.
#define KIV_SCOPE_DRIVER_ENTRY(key) const ScopeDriverEntry& ScopeDriverEntry_##key()

// The instruments in the list's order, which is the instrument index "Kiv.cfg" stores.
inline constexpr int kScopeModelCount = 0
#define KIV_SCOPE_DRIVER(key) +1
#include "acquisition/ScopeDriverList.inc"
#undef KIV_SCOPE_DRIVER
    ;

// index: 0 to kScopeModelCount - 1.
const ScopeDriverEntry& ScopeDriverAt(int index);
inline const ScopeModel& ScopeModelAt(int index) { return ScopeDriverAt(index).model; }
// The index of the model with that key, -1 when there is none.
int FindScopeModel(std::string_view key);
