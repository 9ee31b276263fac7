#pragma once
// The value forms of settings lines that need more than the text itself:
// integers and colours.

#include <QColor>
#include <QString>

namespace quorel::settings {

// A decimal integer with an optional minus sign. Anything else (an empty
// field, prose, a plus sign, a number beyond 32 bits) raises the station's
// integer error with the offending text.
int parseInt(const QString& text);

// A colour as settings files carry it: red + 256·green + 65536·blue, or, with
// the top bit set, a system colour named by the index in the low byte.
// Written back exactly as read, so files keep their system colours.
using WinColour = qint32;

inline constexpr WinColour kWindow = -2147483643;     // window background
inline constexpr WinColour kWindowText = -2147483640; // window text
inline constexpr WinColour kButtonFace = -2147483633; // button face

// The colour to paint for v. A system colour index this station does not
// know gives `fallback`.
QColor colourOf(WinColour v, const QColor& fallback = Qt::white);
// The plain value of a painted colour.
WinColour valueOf(const QColor& c);

} // namespace quorel::settings
