#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QPropertyAnimation>
#include <QRectF>
#include <QSettings>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

// Remembers the panel's position across runs, keeps it on a visible screen, resizes it
// keeping its top edge where it is, and shows and hides it. Holds the panel weakly:
// once the panel is gone every operation does nothing. Geometry is in Qt's global
// coordinates (y grows downwards).
class FloatingWindowController : public QObject
{
    Q_OBJECT

public:
    struct Screens
    {
        // The available geometry of every screen, in the platform's order.
        QList<QRectF> available;
        // The primary screen's, used when the list is empty.
        std::optional<QRectF> primary;
    };
    using ScreenSource = std::function<Screens()>;

    static constexpr int animationMs = 200;
    // The panel's default place: this far in from the top-right corner of the screen.
    static constexpr int cornerInset = 20;
    // A move is saved once the panel has stayed put this long: while mapping a window,
    // an X11 window manager briefly reports it at its frame's provisional place.
    static constexpr int saveDelayMs = 200;

    explicit FloatingWindowController(QSettings &settings, ScreenSource screens = systemScreens,
                                      QObject *parent = nullptr);
    ~FloatingWindowController() override;

    static Screens systemScreens();

    // "{x, y}", and back; a text that is not a point reads as (0, 0).
    static QString pointText(const QPoint &point);
    static QPoint pointFromText(const QString &text);

    // Takes over the panel before it is first shown and moves it to the saved position.
    void attach(QWidget *window);
    // Resizes the panel to `size`, growing or shrinking downwards.
    void resize(const QSizeF &size, bool animated);
    // Shows the panel above other windows; `takeKeyboard` also makes it the active window.
    void showPanel(bool takeKeyboard = true);
    void hidePanel();
    void resetWindowAlpha();

Q_SIGNALS:
    // The panel was hidden on request (Escape, the global shortcut).
    void panelHidden();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyDesiredSize(bool animated);
    void keepWindowOnScreen();
    // `frame` moved so that a usable part of it is on the screen it overlaps most.
    QRect onScreen(const QRect &frame) const;
    void savePosition();

    QSettings &m_settings;
    ScreenSource m_screens;
    QPointer<QWidget> m_window;
    std::optional<QSizeF> m_desiredSize;
    // The origin last saved or restored; the window reports it again when first shown.
    QPoint m_knownOrigin;
    QPropertyAnimation m_animation;
    QTimer m_saveTimer;
};
