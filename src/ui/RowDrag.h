#pragma once

#include <QObject>
#include <QPoint>
#include <QUuid>

#include <functional>
#include <optional>

class QWidget;

// A row's mouse and drops, watched from outside it. A left press released without moving
// is a click; one that moves further drags the row, carrying its account's id as text. The
// id of another row dropped on it is reported; anything else dropped (an image file) goes
// on to the panel.
class RowDrag : public QObject
{
    Q_OBJECT

public:
    // `payload` names the row's account when a drag starts.
    RowDrag(QWidget &row, std::function<QString()> payload);

Q_SIGNALS:
    void clicked(const QPoint &pos);
    void dropped(const QUuid &id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mouse(QMouseEvent &event);
    bool drop(QDropEvent &event);
    void startDrag();

    QWidget &m_row;
    std::function<QString()> m_payload;
    std::optional<QPoint> m_pressPos;
};
