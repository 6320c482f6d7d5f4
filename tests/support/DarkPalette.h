#pragma once

#include "ui/Palette.h"

// A dark desktop scheme, for tests and screenshots of the dark look.
inline QPalette darkPalette()
{
    return Palette::darkScheme();
}
