#include "effects/Saturation.h"

#include "effects/FastRGB.h"

#include <algorithm>
#include <array>

namespace ml {

int ClampToByte(int v) {
    if (v < 0)
        return 0;
    if (v > 255)
        return 255;
    return v;
}

void AdjustSaturation(TFastRGB& buffer, int amount) {
    amount = std::clamp(amount, 0, 65536);
    // scaled[v]: a channel's distance from black, scaled by the amount.
    std::array<int, 256> scaled{};
    for (int v = 0; v < 256; ++v)
        scaled[static_cast<std::size_t>(v)] = (amount * v) >> 8;
    // base[s]: for a pixel whose channel sum is s, its grey level s div 3 less the scaled
    // part of that grey, so that base + scaled[c] moves c away from grey by the amount.
    std::array<int, 768> base{};
    for (int k = 0; k < 256; ++k) {
        const int value = k - scaled[static_cast<std::size_t>(k)];
        for (int m = 0; m < 3; ++m)
            base[static_cast<std::size_t>(3 * k + m)] = value;
    }
    for (int i = 0; i < buffer.Height(); ++i) {
        std::uint8_t* p = buffer.Row(i);
        for (int x = 0; x < buffer.Width(); ++x, p += 3) {
            const int d = base[static_cast<std::size_t>(p[0] + p[1] + p[2])];
            p[0] = static_cast<std::uint8_t>(ClampToByte(d + scaled[p[0]]));
            p[1] = static_cast<std::uint8_t>(ClampToByte(d + scaled[p[1]]));
            p[2] = static_cast<std::uint8_t>(ClampToByte(d + scaled[p[2]]));
        }
    }
}

} // namespace ml
