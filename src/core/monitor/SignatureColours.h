#pragma once
// The colours of the camera's seven colour signatures (0x00BBGGRR) and how their panels
// stay readable.

#include <array>
#include <cstdint>

namespace kavel {

/// Red, yellow, blue, then white four times.
inline constexpr std::array<std::uint32_t, 7> kDefaultSignatureColours{0x0000FF, 0x00FFFF, 0xFF0000, 0xFFFFFF,
                                                                       0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

/// A signature panel's text is black when the colour's green and red (its low 16 bits)
/// exceed 34951, else white.
inline bool signatureTextIsBlack(std::uint32_t colour) { return (colour & 0xFFFFu) > 34951u; }

}  // namespace kavel
