// The one place where a TFont becomes a QFont and back. A TFont Height is in pixels of the
// target device: negative is the character height (QFont pixel size), positive the cell
// height (ascent plus descent), converted with the face's own proportions; 0 is the default.
#pragma once

#include <QFont>

#include "platform/Font.h"

QFont ToQFont(const TFont& font);
// The Qt font as a TFont; Height is the negative character height in pixels.
TFont FromQFont(const QFont& font, TColor color);
