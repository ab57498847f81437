#!/usr/bin/python3
"""Drops files on an X window as a file manager would, through the XDND protocol.

Usage: xdnd_drop.py DISPLAY WINDOW X Y PATH...
WINDOW is the target's top-level X window id, X and Y a point inside it in root coordinates.
Acts as the drag source: offers the paths as text/uri-list, sends enter, position and drop,
serves the data when the target asks for it, and waits for the target to finish. Exits 0 when
the target accepted the drop, 1 otherwise. Needs python3-xlib (Debian), hence Debian's python.
"""

import sys
import time
import urllib.parse

from Xlib import X, display, protocol

TIMEOUT = 15


def main(argv):
    if len(argv) < 6:
        print(__doc__)
        return 2
    name, window_id, x, y, paths = argv[1], int(argv[2], 0), int(argv[3]), int(argv[4]), argv[5:]
    uri_list = "".join("file://%s\r\n" % urllib.parse.quote(path) for path in paths).encode()

    d = display.Display(name)
    atom = d.intern_atom
    target = d.create_resource_object("window", window_id)
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    uri_type = atom("text/uri-list")
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)

    aware = target.get_full_property(atom("XdndAware"), X.AnyPropertyType)
    if not aware or not aware.value:
        print("the window is not a drop target")
        return 1
    version = min(5, aware.value[0])

    def send(kind, data):
        event = protocol.event.ClientMessage(window=target, client_type=atom(kind),
                                             data=(32, [source.id] + data + [0] * (4 - len(data))))
        target.send_event(event, event_mask=0)
        d.flush()

    def serve(request):
        prop = request.property or request.target
        if request.target == uri_type:
            request.requestor.change_property(prop, uri_type, 8, uri_list)
        else:
            prop = X.NONE  # only the file list is offered
        request.requestor.send_event(protocol.event.SelectionNotify(
            time=request.time, requestor=request.requestor, selection=request.selection, target=request.target,
            property=prop))
        d.flush()

    def wait_for(kind):
        """Serves data requests until the target sends the client message kind; its data or None."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.SelectionRequest:
                    serve(event)
                elif event.type == X.ClientMessage and event.client_type == atom(kind):
                    return event.data[1]
            time.sleep(0.01)
        return None

    send("XdndEnter", [version << 24, uri_type])
    send("XdndPosition", [0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy")])
    status = wait_for("XdndStatus")
    if status is None or not status[1] & 1:
        send("XdndLeave", [])
        print("the target refused the drop")
        return 1
    send("XdndDrop", [0, X.CurrentTime])
    finished = wait_for("XdndFinished")
    if finished is None:
        print("the target did not finish the drop")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
