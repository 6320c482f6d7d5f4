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

    explicit OpacityPopover(double current, QWidget *parent = nullptr);

    // Opens below `anchor`, centred on it.
    void popUp(const QWidget *anchor);
    QList<QAbstractButton *> levelButtons() const;

Q_SIGNALS:
    void levelChosen(double opacity);
};
