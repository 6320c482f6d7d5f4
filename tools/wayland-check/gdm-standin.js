// Stands in for GDM on the check's private system bus: GNOME Shell builds its lock screen
// (and serves org.gnome.ScreenSaver) only where a display manager that can lock answers.
// Built for scripts/wayland-check.
const {Gio, GLib} = imports.gi;

const xml = `<node><interface name="org.gnome.DisplayManager.Manager">
  <property name="Version" type="s" access="read"/>
  <method name="RegisterSession"><arg type="a{sv}" direction="in"/></method>
</interface></node>`;

const manager = Gio.DBusExportedObject.wrapJSObject(xml, {
    Version: '43.0',
    RegisterSession() {},
});
Gio.bus_own_name(Gio.BusType.SYSTEM, 'org.gnome.DisplayManager', Gio.BusNameOwnerFlags.NONE,
    connection => manager.export(connection, '/org/gnome/DisplayManager/Manager'),
    () => print('ready'), () => print('name lost'));
new GLib.MainLoop(null, false).run();
