#pragma once

#include "app/CodeTyper.h"

#include <QList>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

// Types codes on X11 with XTest key events, as the keyboard layout in use maps them: each
// character's key and level are looked up in the current group, so a German or a French
// layout types the same digits as a US one. Modifiers held down (the Ctrl of Ctrl+Return, a
// Shift) are released first, so that none leaks into the code. A character the layout lacks
// (a Latin letter on a Cyrillic layout) is typed through a spare keycode, mapped for the
// moment and given back afterwards.
class X11CodeTyper : public CodeTyper
{
    Q_OBJECT

public:
    explicit X11CodeTyper(xcb_connection_t *connection, QObject *parent = nullptr);

    QString unavailableReason() const override;
    void type(const QString &code, std::function<void(bool typed)> done) override;

private:
    struct Key
    {
        std::uint8_t keycode;
        bool shift;
    };
    struct Layout;
    std::optional<Layout> readLayout() const;
    std::optional<QList<Key>> keysFor(const QString &code, const Layout &layout, QList<std::uint8_t> &spares);
    void releaseModifiers(const Layout &layout);
    void press(std::uint8_t keycode, bool down);

    xcb_connection_t *m_connection;
    bool m_hasXTest = false;
};
