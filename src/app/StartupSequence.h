#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

// What start-up leaves until the panel's first frame is on screen: steps queued with
// `afterFirstPaint` run one per turn of the event loop once that frame is painted, so
// keychain answers arriving meanwhile are not held up by all of them at once. It also
// notes the moments the start-up benchmark times, the panel's first paint and the first
// paint of real codes, under the "corvane.startup" logging category (off by default).
class StartupSequence : public QObject
{
    Q_OBJECT

public:
    explicit StartupSequence(QWidget *panel, QObject *parent = nullptr);
    ~StartupSequence() override;

    void afterFirstPaint(std::function<void()> step);
    // The panel starts hidden: the steps run from the event loop's first turns.
    void skipFirstPaint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void painted();
    void queueNext();
    void runNext();
    void stopWatchingWhenDone();

    QPointer<QWidget> m_panel;
    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    bool m_painted = false;
    bool m_started = false; // the steps may run
    bool m_queued = false;
    bool m_codesPainted = false;
};
