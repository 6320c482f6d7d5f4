#pragma once

#include "engine/Clock.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// The thin bar under a code that empties towards its left edge as the period runs out
// and refills at each period boundary. It repaints only when the fill's width changes by
// a device pixel (once a second with reduced motion) and does nothing while hidden.
// It is opaque to Qt: it paints what lies under it from a cached image of its
// ancestors and its empty track, so that a tick repaints the few pixels around the end
// of the fill and none of the see-through widgets below it. The image is taken again
// whenever an ancestor repaints around the bar.
class TokenProgressView : public QWidget
{
    Q_OBJECT

public:
    // Seconds since the Unix epoch.

    static constexpr double minimumRemaining = 0.02;
    static constexpr double minimumFraction = 0.002;
    static constexpr double reducedMotionStep = 1.0;

    explicit TokenProgressView(Clock clock, QWidget *parent = nullptr);

    // Seconds left in the period containing `t`, at least minimumRemaining.
    static double remaining(double t, double period);
    // The part of the bar that is filled at `t`, at least minimumFraction.
    static double fraction(double t, double period);
    // Whole device pixels a fill of `fraction` covers on a bar `widthPixels` wide.
    static int fillPixels(double fraction, double widthPixels);
    // Seconds from `t` until the fill on a bar `widthPixels` device pixels wide next
    // changes, or the period restarts, whichever comes first.
    static double nextRepaintDelay(double t, double period, double widthPixels, bool reduceMotion);

    qint64 period() const { return m_period; }
    QColor color() const { return m_color; }
    bool reduceMotion() const { return m_reduceMotion; }
    double shownFraction() const { return m_fraction; }
    // Milliseconds until the next scheduled repaint, or -1 when none is.
    int scheduledRepaintMs() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public Q_SLOTS:
    // A changed period or reduced-motion setting restarts the cycle, and so does any
    // call while the bar is idle or in reduced motion; the colour alone only repaints.
    void configure(qint64 period, const QColor &color, bool reduceMotion);
    void setPeriod(qint64 period);
    void setColor(const QColor &color);
    void setReduceMotion(bool reduceMotion);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startCycle();
    void tick();
    void schedule();
    void stop();
    double widthPixels() const;
    void watchAncestors();
    QImage renderBackdrop();
    QImage renderFillEnd() const;

    Clock m_clock;
    qint64 m_period = 30;
    QColor m_color;
    bool m_reduceMotion = false;
    double m_fraction = 1.0;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_ancestors;
    QImage m_backdrop;
    QImage m_fillEnd;
    bool m_renderingBackdrop = false;
};
