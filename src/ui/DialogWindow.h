#pragma once

#include <QtGlobal>

// The window frame of the panel's dialogs: a title and a close button, no maximize button.
inline constexpr Qt::WindowFlags dialogWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
