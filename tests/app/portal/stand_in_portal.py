"""A stand-in for the desktop portal's remote desktop interface on a private session bus:
it answers every request at once, as if the user consented, and writes each call it got
to a log, one JSON object a line.

    stand_in_portal.py LOG VERSION [deny | silent | late]

VERSION is the interface version it claims (2 and later hand out restore tokens); with
deny the user declines at Start; with silent the consent dialog is never answered; with
late it is answered (yes) a second and a half after Start."""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
IFACE = "org.freedesktop.portal.RemoteDesktop"
KEYBOARD, POINTER = 1, 2


def plain(value):
    if isinstance(value, (dbus.Dictionary, dict)):
        return {str(k): plain(v) for k, v in value.items()}
    if isinstance(value, (dbus.String, dbus.ObjectPath)):
        return str(value)
    if isinstance(value, (dbus.Boolean,)):
        return bool(value)
    if isinstance(value, (int, dbus.UInt32, dbus.Int32)):
        return int(value)
    return str(value)


class Request(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.path = path
        self.portal = portal
        self.closed = False

    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, code, results):
        pass

    @dbus.service.method("org.freedesktop.portal.Request")
    def Close(self):
        # The dialog goes away; a real portal answers nothing more.
        self.portal.note(call="RequestClose", request=self.path)
        self.closed = True


class Session(dbus.service.Object):
    def __init__(self, bus, path, portal):
        super().__init__(bus, path)
        self.path = path
        self.portal = portal

    @dbus.service.signal("org.freedesktop.portal.Session", signature="a{sv}")
    def Closed(self, details):
        pass

    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        self.portal.note(call="Close", session=self.path)
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, log, version, consent):
        super().__init__(bus, PATH)
        self.bus = bus
        self.log = log
        self.version = version
        self.consent = consent
        self.sessions = 0

    def note(self, **call):
        self.log.write(json.dumps(call) + "\n")
        self.log.flush()

    def answer(self, sender, options, results, code=0, after_ms=None):
        """The request object; it responds at once, after_ms later, or (after_ms < 0) never."""
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["handle_token"])
        request = Request(self.bus, path, self)

        def respond():
            if not request.closed:
                request.Response(dbus.UInt32(code), dbus.Dictionary(results, signature="sv"))
            request.remove_from_connection()
            return False

        if after_ms is None:
            GLib.idle_add(respond)
        elif after_ms >= 0:
            GLib.timeout_add(after_ms, respond)
        return dbus.ObjectPath(path)

    @dbus.service.method(IFACE, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        self.note(call="CreateSession", options=plain(options))
        self.sessions += 1
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        Session(self.bus, session, self)
        return self.answer(sender, options, {"session_handle": dbus.String(session)})

    @dbus.service.method(IFACE, in_signature="oa{sv}", out_signature="o", sender_keyword="sender")
    def SelectDevices(self, session, options, sender=None):
        self.note(call="SelectDevices", session=str(session), options=plain(options))
        return self.answer(sender, options, {})

    @dbus.service.method(IFACE, in_signature="osa{sv}", out_signature="o", sender_keyword="sender")
    def Start(self, session, parent, options, sender=None):
        self.note(call="Start", session=str(session), parent=str(parent))
        if self.consent == "deny":
            return self.answer(sender, options, {}, code=1)
        results = {"devices": dbus.UInt32(KEYBOARD)}
        if self.version >= 2:
            results["restore_token"] = dbus.String("token-%d" % self.sessions)
        after = {"silent": -1, "late": 1500}.get(self.consent)
        return self.answer(sender, options, results, after_ms=after)

    @dbus.service.method(IFACE, in_signature="oa{sv}iu")
    def NotifyKeyboardKeysym(self, session, options, keysym, state):
        self.note(call="NotifyKeyboardKeysym", session=str(session), keysym=int(keysym), state=int(state))

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == IFACE and name == "AvailableDeviceTypes":
            return dbus.UInt32(KEYBOARD | POINTER)
        if interface == IFACE and name == "version":
            return dbus.UInt32(self.version)
        raise dbus.exceptions.DBusException("no property " + name,
                                            name="org.freedesktop.DBus.Error.UnknownProperty")


def main():
    log_path, version = sys.argv[1], int(sys.argv[2])
    consent = sys.argv[3] if len(sys.argv) > 3 else "yes"
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    with open(log_path, "a") as log:
        portal = Portal(bus, log, version, consent)
        name = dbus.service.BusName(NAME, bus)  # taken last: the portal is ready once it is seen
        GLib.MainLoop().run()
        del portal, name


if __name__ == "__main__":
    main()
