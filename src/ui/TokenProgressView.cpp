#include "ui/TokenProgressView.h"

#include "ui/Palette.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>

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
    setAccessibleName(tr("验证码有效期"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    watchAncestors();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TokenProgressView::tick);
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
    if (color != m_color)
        m_fillEnd = QImage();
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

void TokenProgressView::watchAncestors()
{
    for (const QPointer<QWidget> &ancestor : std::as_const(m_ancestors)) {
        if (ancestor)
            ancestor->removeEventFilter(this);
    }
    m_ancestors.clear();
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        ancestor->installEventFilter(this);
        m_ancestors.append(ancestor);
        if (ancestor->isWindow())
            break;
    }
    m_backdrop = QImage();
}

// Qt leaves the bar out of an ancestor's repaint, so a repaint that surrounds the bar
// means that what lies under it may have changed.
bool TokenProgressView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_renderingBackdrop) {
        auto *ancestor = static_cast<QWidget *>(watched);
        const QRect around = static_cast<QPaintEvent *>(event)->region().boundingRect();
        if (around.intersects(QRect(mapTo(ancestor, QPoint()), size()))) {
            m_backdrop = QImage();
            update();
        }
    }
    return false;
}

void TokenProgressView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange)
        watchAncestors();
    else if (event->type() == QEvent::PaletteChange)
        m_backdrop = QImage();
}

// Each ancestor's own painting, without its children, where the bar is, and the empty
// track over it.
QImage TokenProgressView::renderBackdrop()
{
    const QScopedValueRollback rendering(m_renderingBackdrop, true);
    const qreal ratio = devicePixelRatioF();
    QImage image((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    for (qsizetype i = m_ancestors.size() - 1; i >= 0; --i) {
        QWidget *ancestor = m_ancestors.at(i);
        if (!ancestor)
            continue;
        const RenderFlags flags = ancestor->isWindow() ? DrawWindowBackground : RenderFlags();
        ancestor->render(&image, QPoint(), QRegion(QRect(mapTo(ancestor, QPoint()), size())), flags);
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor trackColor = palette().color(QPalette::WindowText);
    trackColor.setAlphaF(0.11f);
    painter.setBrush(trackColor);
    const qreal radius = height() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    return image;
}

void TokenProgressView::paintEvent(QPaintEvent *event)
{
    if (m_backdrop.size() != (QSizeF(size()) * devicePixelRatioF()).toSize())
        m_backdrop = renderBackdrop();
    if (m_fillEnd.isNull() || m_fillEnd.devicePixelRatio() != devicePixelRatioF())
        m_fillEnd = renderFillEnd();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(), m_backdrop);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    const qreal radius = height() / 2.0;
    // Whole device pixels, so the fill's edge stays sharp and matches the schedule.
    const qreal fillWidth = fillPixels(m_fraction, widthPixels()) / devicePixelRatioF();
    const qreal endWidth = m_fillEnd.deviceIndependentSize().width();
    if (event->rect().left() > endWidth && fillWidth > 2 * endWidth) {
        // A tick: the straight part and the drawn end, where a whole outline costs more.
        painter.fillRect(QRectF(0, 0, fillWidth - endWidth, height()), m_color);
        painter.drawImage(QPointF(fillWidth - endWidth, 0), m_fillEnd);
    } else {
        painter.drawRoundedRect(QRectF(0, 0, fillWidth, height()), radius, radius);
    }
}

// The rounded right end of the fill, as wide as its corners plus a pixel; the same at
// every width, since the fill ends on whole device pixels.
QImage TokenProgressView::renderFillEnd() const
{
    const qreal ratio = devicePixelRatioF();
    const qreal radius = height() / 2.0;
    const QSizeF size(std::ceil(radius) + 1, height());
    QImage image((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawRoundedRect(QRectF(-size.width(), 0, 2 * size.width(), height()), radius, radius);
    return image;
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
    m_backdrop = QImage();
    m_fillEnd = QImage();
    // The pixel schedule depends on the width.
    if (m_timer.isActive())
        startCycle();
}

void TokenProgressView::startCycle()
{
    schedule();
    update();
}

// Only the fill's end moved: the few pixels around it are repainted.
void TokenProgressView::tick()
{
    const int before = fillPixels(m_fraction, widthPixels());
    schedule();
    const int after = fillPixels(m_fraction, widthPixels());
    const qreal ratio = devicePixelRatioF();
    const qreal left = std::min(before, after) / ratio - height() / 2.0 - 1;
    const qreal right = std::max(before, after) / ratio + 1;
    update(QRectF(left, 0, right - left, height()).toAlignedRect());
}

void TokenProgressView::schedule()
{
    if (!isVisible() || m_period <= 0) {
        stop();
        return;
    }
    const double t = m_clock();
    const auto period = static_cast<double>(m_period);
    m_fraction = fraction(t, period);
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
