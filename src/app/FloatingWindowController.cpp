#include "app/FloatingWindowController.h"

#include "engine/Logging.h"
#include "store/SettingsKeys.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>

#include <climits>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Less than this much of the panel left on its screen counts as lost.
constexpr qreal minimumVisibleWidth = 80;
constexpr qreal minimumVisibleHeight = 40;
// Changes of this size or less are not worth a move or a resize.
constexpr qreal tolerance = 0.5;

qreal area(const QRectF &rect)
{
    return rect.isEmpty() ? 0 : rect.width() * rect.height();
}

} // namespace

FloatingWindowController::FloatingWindowController(QSettings &settings, ScreenSource screens, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_screens(std::move(screens))
{
    m_animation.setPropertyName("geometry");
    m_animation.setDuration(animationMs);
    m_animation.setEasingCurve(QEasingCurve::InOutQuad);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &FloatingWindowController::savePosition);
}

FloatingWindowController::~FloatingWindowController()
{
    if (m_saveTimer.isActive())
        savePosition();
}

FloatingWindowController::Screens FloatingWindowController::systemScreens()
{
    Screens screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.available << QRectF(screen->availableGeometry());
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screens.primary = QRectF(primary->availableGeometry());
    return screens;
}

QString FloatingWindowController::pointText(const QPoint &point)
{
    return u"{%1, %2}"_s.arg(point.x()).arg(point.y());
}

QPoint FloatingWindowController::pointFromText(const QString &text)
{
    static const QString number = uR"([-+]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][-+]?[0-9]+)?)"_s;
    static const QRegularExpression pattern(uR"(^\s*\{\s*(%1)\s*,\s*(%1)\s*\})"_s.arg(number));
    const QRegularExpressionMatch match = pattern.match(text);
    const double x = match.captured(1).toDouble();
    const double y = match.captured(2).toDouble();
    if (!match.hasMatch() || !std::isfinite(x) || !std::isfinite(y) || std::abs(x) > INT_MAX || std::abs(y) > INT_MAX) {
        qCWarning(lcApp) << "unreadable panel position" << text;
        return {};
    }
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

void FloatingWindowController::attach(QWidget *window)
{
    m_window = window;
    if (!m_window)
        return;
    m_window->setWindowOpacity(1.0);
    m_animation.setTargetObject(m_window);
    const QVariant saved = m_settings.value(SettingsKeys::windowOrigin);
    if (saved.isValid()) {
        m_window->move(pointFromText(saved.toString()));
        keepWindowOnScreen();
    }
    m_knownOrigin = m_window->pos();
    // Only now, so that the restore above is not written back.
    m_window->installEventFilter(this);
    applyDesiredSize(false);
}

void FloatingWindowController::resize(const QSizeF &size, bool animated)
{
    m_desiredSize = size;
    applyDesiredSize(animated);
}

void FloatingWindowController::showPanel(bool takeKeyboard)
{
    if (!m_window)
        return;
    keepWindowOnScreen();
    m_window->setAttribute(Qt::WA_ShowWithoutActivating, !takeKeyboard);
    m_window->show();
    m_window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_window->raise();
    if (takeKeyboard)
        m_window->activateWindow();
}

void FloatingWindowController::hidePanel()
{
    if (!m_window)
        return;
    m_window->hide();
    Q_EMIT panelHidden();
}

void FloatingWindowController::resetWindowAlpha()
{
    if (m_window)
        m_window->setWindowOpacity(1.0);
}

bool FloatingWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Move)
        m_saveTimer.start();
    return QObject::eventFilter(watched, event);
}

void FloatingWindowController::applyDesiredSize(bool animated)
{
    if (!m_window || !m_desiredSize)
        return;
    const QRect frame = m_window->geometry();
    if (std::abs(frame.width() - m_desiredSize->width()) <= tolerance
        && std::abs(frame.height() - m_desiredSize->height()) <= tolerance)
        return;
    const QRect resized(frame.topLeft(), m_desiredSize->toSize());
    // The on-screen check runs on the final frame, so an animation goes straight there.
    const QRect target = onScreen(resized);
    m_animation.stop();
    if (animated && m_window->isVisible()) {
        m_animation.setStartValue(frame);
        m_animation.setEndValue(target);
        m_animation.start();
    } else {
        m_window->setGeometry(target);
    }
}

void FloatingWindowController::keepWindowOnScreen()
{
    const QRect frame = m_window->geometry();
    const QRect moved = onScreen(frame);
    if (moved != frame)
        m_window->move(moved.topLeft());
}

QRect FloatingWindowController::onScreen(const QRect &frame) const
{
    const Screens screens = m_screens();
    const QRectF f(frame);
    std::optional<QRectF> chosen;
    qreal chosenArea = -1;
    for (const QRectF &screen : screens.available) {
        const qreal overlap = area(screen.intersected(f));
        if (overlap > chosenArea) {
            chosen = screen;
            chosenArea = overlap;
        }
    }
    if (!chosen)
        chosen = screens.primary;
    if (!chosen)
        return frame;

    const QRectF v = *chosen;
    const QRectF visible = v.intersected(f);
    QPointF origin;
    if (visible.width() < minimumVisibleWidth || visible.height() < minimumVisibleHeight) {
        origin = {v.right() - f.width() - cornerInset, v.top() + cornerInset};
    } else {
        // When the panel is larger than the screen the second bound wins: the right
        // and top edges line up and the panel overhangs on the left and at the bottom.
        origin = {std::min(std::max(f.left(), v.left()), v.right() - f.width()),
                  std::max(std::min(f.top(), v.bottom() - f.height()), v.top())};
        if (std::abs(origin.x() - f.left()) <= tolerance && std::abs(origin.y() - f.top()) <= tolerance)
            return frame;
    }
    return {origin.toPoint(), frame.size()};
}

void FloatingWindowController::savePosition()
{
    if (!m_window)
        return;
    const QPoint origin = m_window->pos();
    if (origin == m_knownOrigin)
        return;
    m_knownOrigin = origin;
    m_settings.setValue(SettingsKeys::windowOrigin, pointText(origin));
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError)
        qCWarning(lcApp) << "cannot write the panel position to" << m_settings.fileName();
}
