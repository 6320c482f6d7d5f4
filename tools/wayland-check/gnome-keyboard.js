// Gives GNOME Shell's headless seat a keyboard, as a remote desktop client does, and
// keeps it while this runs: Wayland's clipboard reaches only clients with keyboard focus.
// Built for scripts/wayland-check.
const {Gio, GLib} = imports.gi;

const bus = Gio.DBus.session;
const call = (path, iface, method, args, type) =>
    bus.call_sync('org.gnome.Mutter.RemoteDesktop', path, iface, method, args, type, 0, -1, null);

const [session] = call('/org/gnome/Mutter/RemoteDesktop', 'org.gnome.Mutter.RemoteDesktop', 'CreateSession',
                       null, new GLib.VariantType('(o)')).deepUnpack();
const iface = 'org.gnome.Mutter.RemoteDesktop.Session';
call(session, iface, 'Start', null, null);
// Shift pressed and released: the virtual keyboard exists from the first key on.
for (const pressed of [true, false])
    call(session, iface, 'NotifyKeyboardKeysym', new GLib.Variant('(ub)', [0xffe1, pressed]), null);
print('keyboard ready');
new GLib.MainLoop(null, false).run();
