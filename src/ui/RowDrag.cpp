#include "ui/RowDrag.h"

#include "store/TokenAccount.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

RowDrag::RowDrag(QWidget &row, std::function<QString()> payload)
    : QObject(&row),
      m_row(row),
      m_payload(std::move(payload))
{
    row.setAcceptDrops(true);
    row.installEventFilter(this);
}

bool RowDrag::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return mouse(static_cast<QMouseEvent &>(*event));
    case QEvent::DragEnter:
    case QEvent::Drop:
        return drop(static_cast<QDropEvent &>(*event));
    default:
        return false;
    }
}

// The row takes every move and release, and left presses; other presses go on to the panel.
bool RowDrag::mouse(QMouseEvent &event)
{
    const QPoint pos = event.position().toPoint();
    if (event.type() == QEvent::MouseButtonPress) {
        if (event.button() != Qt::LeftButton)
            return false;
        m_pressPos = pos;
    } else if (event.type() == QEvent::MouseMove) {
        if (m_pressPos && (pos - *m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressPos.reset();
            startDrag();
        }
    } else if (std::exchange(m_pressPos, std::nullopt) && event.button() == Qt::LeftButton) {
        Q_EMIT clicked(pos);
    }
    event.accept();
    return true;
}

void RowDrag::startDrag()
{
    auto *drag = new QDrag(&m_row);
    auto *data = new QMimeData;
    data->setText(m_payload());
    drag->setMimeData(data);
    drag->setPixmap(m_row.grab().scaledToWidth(m_row.width() / 2, Qt::SmoothTransformation));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool RowDrag::drop(QDropEvent &event)
{
    const auto dragged = TokenAccount::idFromText(event.mimeData()->text());
    if (!dragged) {
        event.ignore();
        return true;
    }
    event.acceptProposedAction();
    if (event.type() == QEvent::Drop)
        Q_EMIT dropped(*dragged);
    return true;
}
