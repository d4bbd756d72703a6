// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/QuarterSteps.h"

#include "data/KivTypes.h"

namespace {

// The Lagrange weights at 2 + k/4 share the denominator 6144 (256 from the quarters,
// 24 from the nodes), so the sums are exact in integers and every half-way value rounds
// up, as the exact polynomial does; chained floating-point ratios lose some of them.
constexpr int64_t kDenominator = 6144;

constexpr int64_t Weight(int k, int j) {
    constexpr int64_t kNodeFactor[5] = {1, -4, 6, -4, 1};  // 24 / prod(j - m)
    int64_t w = kNodeFactor[j];
    for (int m = 0; m < 5; ++m)
        if (m != j) w *= 8 + k - 4 * m;  // 4 (t - m)
    return w;
}

constexpr int64_t kWeights[3][5] = {
    {Weight(1, 0), Weight(1, 1), Weight(1, 2), Weight(1, 3), Weight(1, 4)},
    {Weight(2, 0), Weight(2, 1), Weight(2, 2), Weight(2, 3), Weight(2, 4)},
    {Weight(3, 0), Weight(3, 1), Weight(3, 2), Weight(3, 3), Weight(3, 4)},
};

}  // namespace

void InterpolateQuarterSteps(int32_t* samples) {
    for (int b = 0; b <= kSamples - 20; b += 4) {
        for (int k = 1; k <= 3; ++k) {
            int64_t sum = 0;
            for (int j = 0; j < 5; ++j) sum += kWeights[k - 1][j] * samples[b + 4 * j];
            // Integer division truncates toward zero, as the conversion of value + 0.5 does.
            samples[b + 8 + k] = Sat32((sum + kDenominator / 2) / kDenominator);
        }
    }
}
