// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ModeTable.h"

#include "analysis/CDataDerivative.h"
#include "analysis/CDataFourier.h"
#include "analysis/CDataIntegral.h"
#include "analysis/CDataOriginal.h"
#include "analysis/CDataProduct.h"
#include "analysis/CDataSum.h"
#include "analysis/CDataXY.h"

namespace {

template <class Mode>
CData* Create(IModeHost* host) {
    return new Mode(host);
}

constexpr KivModeInfo kModes[] = {
    {kModeOriginal, "original", Create<CDataOriginal>},   {kModeDerivative, "derivative", Create<CDataDerivative>},
    {kModeIntegral, "integral", Create<CDataIntegral>},   {kModeXY, "xy", Create<CDataXY>},
    {kModeSum, "sum", Create<CDataSum>},                  {kModeProduct, "product", Create<CDataProduct>},
    {kModeFourier, "fourier", Create<CDataFourier>},
};

constexpr bool InIndexOrder() {
    for (int i = 0; i < kModeCount; ++i)
        if (kModes[i].index != i) return false;
    return true;
}
static_assert(std::size(kModes) == kModeCount && InIndexOrder(), "one row per mode, in index order");

}  // namespace

std::span<const KivModeInfo, kModeCount> KivModes() { return std::span<const KivModeInfo, kModeCount>(kModes); }

const KivModeInfo* FindModeByName(std::string_view name) {
    for (const KivModeInfo& m : kModes)
        if (name == m.name) return &m;
    return nullptr;
}
