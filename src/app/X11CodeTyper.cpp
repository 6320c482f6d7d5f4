#include "app/X11CodeTyper.h"

#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T *value)
{
    return Reply<T>(value, &std::free);
}

constexpr xcb_keysym_t shiftKeysym = 0xffe1; // Shift_L
constexpr int groupShift = 13; // XKB keeps the group in bits 13 and 14 of the core state
// How long a spare keycode keeps its character, so that clients read the mapping first.
constexpr std::chrono::milliseconds spareKeyHold(200);

// The keysym of a code's character: Latin-1 characters are their own keysyms.
xcb_keysym_t keysymOf(QChar c)
{
    return c.unicode();
}

} // namespace

// The keyboard as the server maps it now.
struct X11CodeTyper::Layout
{
    xcb_keycode_t first = 0;
    int perKeycode = 0;
    QList<xcb_keysym_t> keysyms;
    QList<xcb_keycode_t> modifierKeys; // every modifier's keycodes but Lock's
    std::optional<xcb_keycode_t> shift;
    int group = 0;
    bool capsLock = false;

    xcb_keysym_t at(int index, int column) const
    {
        return column < perKeycode ? keysyms.value(index * perKeycode + column) : 0;
    }
    // The key and level that give `keysym` in the current group, else in the first.
    std::optional<Key> find(xcb_keysym_t keysym) const
    {
        for (int g : {group, 0}) {
            for (int level : {0, 1}) {
                for (int i = 0; i * perKeycode < keysyms.size(); ++i) {
                    if (at(i, 2 * g + level) == keysym)
                        return Key{xcb_keycode_t(first + i), level == 1};
                }
            }
        }
        return std::nullopt;
    }
    std::optional<xcb_keycode_t> spare(const QList<xcb_keycode_t> &taken) const
    {
        for (int i = keysyms.size() / std::max(perKeycode, 1) - 1; i >= 0; --i) {
            bool empty = true;
            for (int column = 0; column < perKeycode; ++column)
                empty = empty && at(i, column) == 0;
            if (empty && !taken.contains(xcb_keycode_t(first + i)))
                return xcb_keycode_t(first + i);
        }
        return std::nullopt;
    }
};

X11CodeTyper::X11CodeTyper(xcb_connection_t *connection, QObject *parent) : CodeTyper(parent), m_connection(connection)
{
    const auto version =
        reply(xcb_test_get_version_reply(m_connection, xcb_test_get_version(m_connection, 2, 2), nullptr));
    m_hasXTest = version != nullptr;
}

QString X11CodeTyper::unavailableReason() const
{
    return m_hasXTest ? QString() : tr("X 服务器不支持 XTest 扩展，无法模拟键盘输入");
}

void X11CodeTyper::press(std::uint8_t keycode, bool down)
{
    xcb_test_fake_input(m_connection, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                        0);
}

void X11CodeTyper::releaseModifiers(const Layout &layout)
{
    const auto keys = reply(xcb_query_keymap_reply(m_connection, xcb_query_keymap(m_connection), nullptr));
    if (!keys)
        return;
    for (xcb_keycode_t keycode : layout.modifierKeys) {
        if (keys->keys[keycode / 8] & (1 << (keycode % 8)))
            press(keycode, false);
    }
}

std::optional<X11CodeTyper::Layout> X11CodeTyper::readLayout() const
{
    xcb_connection_t *x = m_connection;
    const xcb_setup_t *setup = xcb_get_setup(x);
    const auto mapping = reply(xcb_get_keyboard_mapping_reply(
        x, xcb_get_keyboard_mapping(x, setup->min_keycode, setup->max_keycode - setup->min_keycode + 1), nullptr));
    const auto modifiers = reply(xcb_get_modifier_mapping_reply(x, xcb_get_modifier_mapping(x), nullptr));
    const auto pointer =
        reply(xcb_query_pointer_reply(x, xcb_query_pointer(x, xcb_setup_roots_iterator(setup).data->root), nullptr));
    if (!mapping || !modifiers || !pointer)
        return std::nullopt;
    Layout layout;
    layout.first = setup->min_keycode;
    layout.perKeycode = mapping->keysyms_per_keycode;
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    layout.keysyms = QList<xcb_keysym_t>(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
    const xcb_keycode_t *modifierKeys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    for (int i = 0; i < xcb_get_modifier_mapping_keycodes_length(modifiers.get()); ++i) {
        const bool lock = i / modifiers->keycodes_per_modifier == XCB_MAP_INDEX_LOCK;
        if (modifierKeys[i] != 0 && !lock)
            layout.modifierKeys << modifierKeys[i];
    }
    layout.group = (pointer->mask >> groupShift) & 3;
    layout.capsLock = pointer->mask & XCB_MOD_MASK_LOCK;
    if (const auto shift = layout.find(shiftKeysym))
        layout.shift = shift->keycode;
    return layout;
}

// Every character's key; a character the layout lacks is given a spare keycode, listed in `spares`.
std::optional<QList<X11CodeTyper::Key>> X11CodeTyper::keysFor(const QString &code, const Layout &layout,
                                                              QList<std::uint8_t> &spares)
{
    QList<Key> keys;
    for (QChar c : code) {
        auto key = layout.find(keysymOf(c));
        if (!key && c.isLetter() && (key = layout.find(keysymOf(c.toLower()))))
            key->shift = true; // the upper case of a key that lists only the lower
        if (!key) {
            const auto spare = layout.spare(spares);
            if (!spare)
                return std::nullopt;
            const QList<xcb_keysym_t> both(layout.perKeycode, keysymOf(c));
            xcb_change_keyboard_mapping(m_connection, 1, *spare, quint8(layout.perKeycode), both.constData());
            spares << *spare;
            key = Key{*spare, false};
        }
        if (layout.capsLock && c.isLetter())
            key->shift = !key->shift;
        keys << *key;
    }
    return keys;
}

void X11CodeTyper::type(const QString &code, std::function<void(bool typed)> done)
{
    const auto layout = m_hasXTest ? readLayout() : std::nullopt;
    QList<std::uint8_t> spares;
    const auto keys = layout ? keysFor(code, *layout, spares) : std::nullopt;
    if (!keys) {
        done(false);
        return;
    }
    releaseModifiers(*layout);
    for (const Key &key : *keys) {
        if (key.shift && layout->shift)
            press(*layout->shift, true);
        press(key.keycode, true);
        press(key.keycode, false);
        if (key.shift && layout->shift)
            press(*layout->shift, false);
    }
    xcb_flush(m_connection);
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); // all arrived
    if (spares.isEmpty()) {
        done(true);
        return;
    }
    QTimer::singleShot(spareKeyHold, this, [this, spares, perKeycode = layout->perKeycode, done = std::move(done)] {
        const QList<xcb_keysym_t> none(perKeycode, 0);
        for (std::uint8_t spare : spares)
            xcb_change_keyboard_mapping(m_connection, 1, spare, quint8(perKeycode), none.constData());
        xcb_flush(m_connection);
        done(true);
    });
}
