#include "ui/TokenProgressView.h"

#include "ui/Palette.h"

#include <QPainter>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// A fill this close to a pixel edge counts as on it, so that rounding in the clock
// arithmetic cannot schedule a repaint a few nanoseconds ahead.
constexpr double edgeTolerance = 1e-6;

} // namespace

TokenProgressView::TokenProgressView(Clock clock, QWidget *parent)
    : QWidget(parent),
      m_clock(std::move(clock)),
      m_color(Palette::accentColor(false))
{
    setAccessibleName(u"验证码有效期"_s);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TokenProgressView::startCycle);
}

double TokenProgressView::remaining(double t, double period)
{
    return std::max(period - std::fmod(t, period), minimumRemaining);
}

double TokenProgressView::fraction(double t, double period)
{
    return std::max(remaining(t, period) / period, minimumFraction);
}

int TokenProgressView::fillPixels(double fraction, double widthPixels)
{
    return static_cast<int>(std::ceil(fraction * widthPixels - edgeTolerance));
}

double TokenProgressView::nextRepaintDelay(double t, double period, double widthPixels, bool reduceMotion)
{
    if (reduceMotion)
        return reducedMotionStep;
    const double left = remaining(t, period);
    // The fill shrinks linearly; find when it crosses the next pixel edge below, which
    // is strictly below the current one even when the fill stands exactly on an edge.
    const int nextPixels = fillPixels(fraction(t, period), widthPixels) - 1;
    if (nextPixels < 0 || nextPixels < minimumFraction * widthPixels)
        return left;
    return left - nextPixels / widthPixels * period;
}

int TokenProgressView::scheduledRepaintMs() const
{
    return m_timer.isActive() ? m_timer.remainingTime() : -1;
}

QSize TokenProgressView::sizeHint() const
{
    return {300, 4};
}

QSize TokenProgressView::minimumSizeHint() const
{
    return {4, 4};
}

void TokenProgressView::configure(qint64 period, const QColor &color, bool reduceMotion)
{
    const bool restart = period != m_period || reduceMotion != m_reduceMotion;
    m_period = period;
    m_color = color;
    m_reduceMotion = reduceMotion;
    if (restart || !m_timer.isActive() || m_reduceMotion)
        startCycle();
    else
        update();
}

void TokenProgressView::setPeriod(qint64 period)
{
    configure(period, m_color, m_reduceMotion);
}

void TokenProgressView::setColor(const QColor &color)
{
    configure(m_period, color, m_reduceMotion);
}

void TokenProgressView::setReduceMotion(bool reduceMotion)
{
    configure(m_period, m_color, reduceMotion);
}

void TokenProgressView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF track(rect());
    const qreal radius = track.height() / 2;

    QColor trackColor = palette().color(QPalette::WindowText);
    trackColor.setAlphaF(0.11f);
    painter.setBrush(trackColor);
    painter.drawRoundedRect(track, radius, radius);

    // Whole device pixels, so the fill's edge stays sharp and matches the schedule.
    const qreal fillWidth = fillPixels(m_fraction, widthPixels()) / devicePixelRatioF();
    painter.setBrush(m_color);
    painter.drawRoundedRect(QRectF(track.topLeft(), QSizeF(fillWidth, track.height())), radius, radius);
}

void TokenProgressView::showEvent(QShowEvent *)
{
    startCycle();
}

void TokenProgressView::hideEvent(QHideEvent *)
{
    stop();
}

void TokenProgressView::resizeEvent(QResizeEvent *)
{
    // The pixel schedule depends on the width.
    if (m_timer.isActive())
        startCycle();
}

void TokenProgressView::startCycle()
{
    if (!isVisible() || m_period <= 0) {
        stop();
        return;
    }
    const double t = m_clock();
    const auto period = static_cast<double>(m_period);
    m_fraction = fraction(t, period);
    update();
    const double delay = nextRepaintDelay(t, period, widthPixels(), m_reduceMotion);
    // Rounded up so that the timer never fires before the pixel has changed.
    m_timer.start(std::max(1, static_cast<int>(std::ceil(delay * 1000 - edgeTolerance))));
}

void TokenProgressView::stop()
{
    m_timer.stop();
}

double TokenProgressView::widthPixels() const
{
    return width() * devicePixelRatioF();
}
