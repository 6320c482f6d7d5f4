#pragma once

#include <QAbstractButton>

// The row's always-visible 28-pixel trash button; it turns red while its row is hovered.
class DeleteButton : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int size = 28;

    explicit DeleteButton(QWidget *parent = nullptr);

    bool rowHovered() const { return m_rowHovered; }
    QColor glyphColor() const;
    QColor discColor() const;

public Q_SLOTS:
    void setRowHovered(bool hovered);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_rowHovered = false;
};
