// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ScopeRegistry.h"

#define KIV_SCOPE_DRIVER(key) KIV_SCOPE_DRIVER_ENTRY(key);
#include "acquisition/ScopeDriverList.inc"
#undef KIV_SCOPE_DRIVER

const ScopeDriverEntry& ScopeDriverAt(int index) {
    // Made on first use: the entries are function-local statics of their folders.
    static const ScopeDriverEntry* const entries[kScopeModelCount] = {
#define KIV_SCOPE_DRIVER(key) &ScopeDriverEntry_##key(),
#include "acquisition/ScopeDriverList.inc"
#undef KIV_SCOPE_DRIVER
    };
    return *entries[index];
}

int FindScopeModel(std::string_view key) {
    for (int i = 0; i < kScopeModelCount; ++i)
        if (key == ScopeModelAt(i).key) return i;
    return -1;
}
