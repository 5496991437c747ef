#!/usr/bin/python3
# drag_source.py FILE REPORT: a GTK window at the screen's top left that drags FILE (as a URI),
# offering a copy or a move, as file managers do. It writes to REPORT what the drag proposed, what
# the target answered, and whether the target asked the source to delete its original (as after a
# move), then quits.
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

path, report_path = sys.argv[1], sys.argv[2]
events = []


def report(line):
    events.append(line)
    with open(report_path, "w", encoding="utf-8") as report_file:
        report_file.write("\n".join(events) + "\n")


def action_name(action):
    names = {Gdk.DragAction.COPY: "copy", Gdk.DragAction.MOVE: "move", Gdk.DragAction.LINK: "link"}
    return names.get(action, "none")


def on_data_get(widget, context, data, info, time):
    data.set_uris([GLib.filename_to_uri(path, None)])


def on_data_delete(widget, context):
    report("delete")


def on_end(widget, context):
    report("proposed " + action_name(context.get_suggested_action()))
    report("answered " + action_name(context.get_selected_action()))
    GLib.timeout_add(500, Gtk.main_quit)


def on_failed(widget, context, result):
    report("failed " + str(int(result)))
    return False


window = Gtk.Window(title="Quorlis drag source")
window.set_default_size(160, 120)
window.move(0, 0)
source = Gtk.EventBox()
source.add(Gtk.Label(label="CableList.ini"))
window.add(source)
source.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
source.drag_source_add_uri_targets()
source.connect("drag-data-get", on_data_get)
source.connect("drag-data-delete", on_data_delete)
source.connect("drag-end", on_end)
source.connect("drag-failed", on_failed)
window.connect("destroy", Gtk.main_quit)
window.show_all()
report("ready")
Gtk.main()
