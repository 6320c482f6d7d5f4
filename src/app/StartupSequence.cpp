#include "app/StartupSequence.h"

#include "engine/Logging.h"
#include "ui/CodeText.h"
#include "ui/TokenRow.h"

#include <QCoreApplication>
#include <QEvent>

StartupSequence::StartupSequence(QWidget *panel, QObject *parent) : QObject(parent), m_panel(panel)
{
    m_codesPainted = !lcStartup().isInfoEnabled();
    // Every widget's paint, until both moments passed: rows come and go with the list.
    qApp->installEventFilter(this);
}

StartupSequence::~StartupSequence() = default;

void StartupSequence::afterFirstPaint(std::function<void()> step)
{
    m_steps.push_back(std::move(step));
    if (m_started)
        queueNext();
}

void StartupSequence::skipFirstPaint()
{
    if (m_painted)
        return;
    m_painted = true;
    stopWatchingWhenDone();
    m_started = true;
    queueNext();
}

// A paint event comes before the frame is drawn and handed to the X server; what follows
// it runs on the next turn of the loop.
bool StartupSequence::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (!m_painted && widget->window() == m_panel) {
        m_painted = true;
        QMetaObject::invokeMethod(this, &StartupSequence::painted, Qt::QueuedConnection);
    }
    const auto *row = qobject_cast<TokenRow *>(widget);
    if (!m_codesPainted && row && row->codeText() != CodeText::placeholder) {
        m_codesPainted = true;
        QMetaObject::invokeMethod(
            this, [] { qCInfo(lcStartup) << "codes painted"; }, Qt::QueuedConnection);
    }
    stopWatchingWhenDone();
    return false;
}

void StartupSequence::painted()
{
    qCInfo(lcStartup) << "panel painted";
    m_started = true;
    queueNext();
}

void StartupSequence::queueNext()
{
    if (m_queued || m_next >= m_steps.size())
        return;
    m_queued = true;
    QMetaObject::invokeMethod(this, &StartupSequence::runNext, Qt::QueuedConnection);
}

void StartupSequence::runNext()
{
    m_queued = false;
    const auto step = std::move(m_steps[m_next++]);
    step();
    queueNext();
}

void StartupSequence::stopWatchingWhenDone()
{
    if (m_painted && m_codesPainted)
        qApp->removeEventFilter(this);
}
