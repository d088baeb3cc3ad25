#pragma once
// Value conventions the program's data and files rely on: 16-bit Booleans and
// integers, single-precision geometry, twips, and colours as 0x00BBGGRR.

#include <cstdint>

namespace platform {

using Integer = std::int16_t;  // 16-bit signed
using Long = std::int32_t;     // 32-bit signed
using Single = float;          // 32-bit float

constexpr Integer vbTrue = -1;
constexpr Integer vbFalse = 0;

// A 16-bit Boolean counts as True only when it is exactly -1.
constexpr bool isTrue(Integer b) { return b == vbTrue; }
constexpr Integer toVbBool(bool b) { return b ? vbTrue : vbFalse; }

// Colours are stored as 0x00BBGGRR, the way the data and property bags keep them.
using OleColor = std::uint32_t;
constexpr OleColor rgb(int r, int g, int b)
{
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(OleColor c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(OleColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(OleColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// 15 twips per pixel at 96 dpi; 1440 twips per inch.
constexpr double twipsPerPixel = 15.0;
constexpr double twipsPerInch = 1440.0;
constexpr double pixelsFromTwips(double twips) { return twips / twipsPerPixel; }
constexpr double twipsFromPixels(double px) { return px * twipsPerPixel; }

} // namespace platform
