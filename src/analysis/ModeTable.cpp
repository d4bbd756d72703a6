#include "analysis/ModeTable.h"

#include "platform/TrNoop.h"

#include "analysis/CDataDerivative.h"
#include "analysis/CDataFourier.h"
#include "analysis/CDataIntegral.h"
#include "analysis/CDataOriginal.h"
#include "analysis/CDataProduct.h"
#include "analysis/CDataSum.h"
#include "analysis/CDataXY.h"

namespace {

template <class Mode>
CData* Create(CKivDoc* doc) {
    return new Mode(doc);
}

constexpr KivModeInfo kModes[] = {
    {kModeOriginal, ID_MODE_ORIGINAL, "original", KIV_TR_NOOP("Kiv", "Wykres oryginalny"),
     KIV_TR_NOOP("Kiv", "Wyświetla oryginalny wykres\nWykres oryginalny"), Create<CDataOriginal>},
    {kModeDerivative, ID_MODE_DERIVATIVE, "derivative", KIV_TR_NOOP("Kiv", "Różniczka"), KIV_TR_NOOP("Kiv",
        "Wyświetla różniczkę\nRóżniczka"),
     Create<CDataDerivative>},
    {kModeIntegral, ID_MODE_INTEGRAL, "integral", KIV_TR_NOOP("Kiv", "Całka"), KIV_TR_NOOP("Kiv",
        "Wyświetla całkę\nCałka"), Create<CDataIntegral>},
    {kModeXY, ID_MODE_XY, "xy", KIV_TR_NOOP("Kiv", "Tryb XY"), KIV_TR_NOOP("Kiv",
        "Wyśletla wykresy w trybie XY\nTryb XY"), Create<CDataXY>},
    {kModeSum, ID_MODE_SUM, "sum", KIV_TR_NOOP("Kiv", "Suma wykresów"), KIV_TR_NOOP("Kiv",
        "Wyswietla sumę wykresów\nSuma wykresów"), Create<CDataSum>},
    {kModeProduct, ID_MODE_PRODUCT, "product", KIV_TR_NOOP("Kiv", "Iloczyn  wykresów"), KIV_TR_NOOP("Kiv",
        "Wyświetla iloczyn wykresów\nIloczyn wykresów"),
     Create<CDataProduct>},
    {kModeFourier, ID_MODE_FOURIER, "fourier", KIV_TR_NOOP("Kiv", "Analiza Fouriera"),
     KIV_TR_NOOP("Kiv", "Wyświetla widmo częstotliwości\nAnaliza Fouriera"), Create<CDataFourier>},
};

constexpr bool InIndexOrder() {
    for (int i = 0; i < kModeCount; ++i)
        if (kModes[i].index != i) return false;
    return true;
}
static_assert(std::size(kModes) == kModeCount && InIndexOrder(), "one row per mode, in index order");

}  // namespace

std::span<const KivModeInfo, kModeCount> KivModes() { return std::span<const KivModeInfo, kModeCount>(kModes); }

const KivModeInfo* FindModeByCommand(int id) {
    for (const KivModeInfo& m : kModes)
        if (m.commandId == id) return &m;
    return nullptr;
}

const KivModeInfo* FindModeByName(std::string_view name) {
    for (const KivModeInfo& m : kModes)
        if (name == m.name) return &m;
    return nullptr;
}
