#pragma once

#include <QFont>
#include <QGuiApplication>

// The application font at a pixel size and weight (the panel's rounded system font).
inline QFont panelFont(int pixelSize, QFont::Weight weight = QFont::Normal)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}
