#pragma once
// Colour values as the program keeps them (0x00BBGGRR) turned into Qt colours.
// A value with the high bit set names a system colour by its index in the low
// byte (0x8000000F is the button face); it follows the application palette.

#include "platform/vbtypes.h"

#include <QColor>

namespace platform {

constexpr OleColor vbScrollBars = 0x80000000u;
constexpr OleColor vbWindowBackground = 0x80000005u;
constexpr OleColor vbWindowText = 0x80000008u;
constexpr OleColor vbButtonFace = 0x8000000Fu;
constexpr OleColor vbButtonText = 0x80000012u;

constexpr bool isSystemColor(OleColor c) { return (c & 0x80000000u) != 0; }

// The colour shown for a value; an unknown system colour index gives the
// window background.
QColor toQColor(OleColor c);

// Converts a stored 32-bit colour (signed, as property bags keep it) to a value.
constexpr OleColor oleColorFromLong(Long v) { return static_cast<OleColor>(v); }
constexpr Long longFromOleColor(OleColor c) { return static_cast<Long>(c); }

} // namespace platform
