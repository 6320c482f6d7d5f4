#pragma once

#include <QFrame>

class QAbstractButton;

// The small popup under the header's opacity button listing the opacity levels, the
// current one checked.
class OpacityPopover : public QFrame
{
    Q_OBJECT

public:
    static constexpr int width = 190;

    struct Level
    {
        QString label;
        double opacity;
        // Whether the panel's `opacity` is this level.
        bool isCurrent(double opacity) const;
    };
    // The store's opacity levels with their names, lightest first.
    static QList<Level> levels();

    explicit OpacityPopover(double current, QWidget *parent = nullptr);

    // Opens below `anchor`, centred on it.
    void popUp(const QWidget *anchor);
    QList<QAbstractButton *> levelButtons() const;

Q_SIGNALS:
    void levelChosen(double opacity);
};
