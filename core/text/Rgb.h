#pragma once
// A colour as red, green and blue, 0 to 255 each: what the design's figures,
// the charts and every document writer share.

#include <cstdint>

namespace sorvanta {

struct TRgb {
    std::uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb&) const = default;
};

}  // namespace sorvanta
