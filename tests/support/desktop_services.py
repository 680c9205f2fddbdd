#!/usr/bin/env python3
"""Stands in for the desktop on a test's own session bus.

    desktop_services.py LOG_FILE

Owns org.freedesktop.Notifications and org.freedesktop.FileManager1 and logs
every call to LOG_FILE as one JSON line. Its method org.example.Test.Click(id)
reports a click on notification `id`, as the desktop does when the user
clicks it. Prints "ready" once both names are owned."""
import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NOTIFICATIONS = "org.freedesktop.Notifications"
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
LOG = open(sys.argv[1], "a", buffering=1)


def log(**entry):
    LOG.write(json.dumps(entry) + "\n")


class Notifications(dbus.service.Object):
    last = 0

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        if not replaces:
            Notifications.last += 1
        number = replaces or Notifications.last
        log(call="Notify", id=int(number), replaces=int(replaces), app=str(app), icon=str(icon),
            summary=str(summary), body=str(body), actions=[str(a) for a in actions],
            category=str(hints.get("category", "")), entry=str(hints.get("desktop-entry", "")))
        return number

    @dbus.service.method(NOTIFICATIONS, in_signature="u")
    def CloseNotification(self, number):
        log(call="CloseNotification", id=int(number))
        self.NotificationClosed(number, 3)

    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body"]

    @dbus.service.method(NOTIFICATIONS, out_signature="ssss")
    def GetServerInformation(self):
        return ("test", "Tollivex tests", "1", "1.2")

    @dbus.service.signal(NOTIFICATIONS, signature="us")
    def ActionInvoked(self, number, action):
        pass

    @dbus.service.signal(NOTIFICATIONS, signature="uu")
    def NotificationClosed(self, number, reason):
        pass

    @dbus.service.method("org.example.Test", in_signature="u")
    def Click(self, number):
        self.ActionInvoked(number, "default")


class FileManager(dbus.service.Object):
    @dbus.service.method("org.freedesktop.FileManager1", in_signature="ass")
    def ShowItems(self, uris, startup):
        log(call="ShowItems", uris=[str(u) for u in uris])


bus = dbus.SessionBus()
names = [dbus.service.BusName(name, bus) for name in (NOTIFICATIONS, "org.freedesktop.FileManager1")]
services = [Notifications(bus, "/org/freedesktop/Notifications"), FileManager(bus, "/org/freedesktop/FileManager1")]
print("ready", flush=True)
GLib.MainLoop().run()
