#pragma once

#include "ui/Glyphs.h"

#include <QPushButton>

#include <optional>

// A prominent button: white text (and an optional glyph) on a rounded accent fill.
class AccentButton : public QPushButton
{
    Q_OBJECT

public:
    explicit AccentButton(const QString &text, std::optional<Glyph> glyph = std::nullopt, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<Glyph> m_glyph;
};
