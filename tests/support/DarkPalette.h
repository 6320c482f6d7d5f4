#pragma once

#include <QColor>
#include <QPalette>

// A dark desktop scheme, for tests and screenshots of the dark look.
inline QPalette darkPalette()
{
    QPalette palette;
    const QColor window(36, 38, 42);
    const QColor text(235, 235, 240);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(28, 29, 33));
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(52, 54, 60));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(140, 142, 150));
    palette.setColor(QPalette::Highlight, QColor(77, 158, 255));
    palette.setColor(QPalette::Light, QColor(70, 72, 78));
    palette.setColor(QPalette::Mid, QColor(60, 62, 68));
    palette.setColor(QPalette::Dark, QColor(20, 20, 24));
    return palette;
}
