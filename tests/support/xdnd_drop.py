#!/usr/bin/env python3
# Drops a file on an X window as a file manager does, through the XDND protocol (Wine turns the
# drop into the window's WM_DROPFILES): the source announces text/uri-list, moves over the
# window's point, drops, and hands over the file's URI when the target asks for it.
#   xdnd_drop.py WINDOW X Y PATH    (WINDOW: the X window id; X, Y: a point inside it)
# Exit status 0 when the target took the drop, 1 when it refused it or did not answer.
import ctypes as C
import sys
import time
import urllib.parse

x = C.CDLL("libX11.so.6")
Atom = Window = C.c_ulong
x.XOpenDisplay.restype = C.c_void_p
x.XOpenDisplay.argtypes = [C.c_char_p]
x.XInternAtom.restype = Atom
x.XInternAtom.argtypes = [C.c_void_p, C.c_char_p, C.c_int]
x.XDefaultRootWindow.restype = Window
x.XDefaultRootWindow.argtypes = [C.c_void_p]
x.XCreateSimpleWindow.restype = Window
x.XCreateSimpleWindow.argtypes = [C.c_void_p, Window] + [C.c_int] * 2 + [C.c_uint] * 2 + \
    [C.c_uint, C.c_ulong, C.c_ulong]
x.XSetSelectionOwner.argtypes = [C.c_void_p, Atom, Window, C.c_ulong]
x.XSendEvent.argtypes = [C.c_void_p, Window, C.c_int, C.c_long, C.c_void_p]
x.XPending.argtypes = [C.c_void_p]
x.XNextEvent.argtypes = [C.c_void_p, C.c_void_p]
x.XFlush.argtypes = [C.c_void_p]
x.XChangeProperty.argtypes = [C.c_void_p, Window, Atom, Atom, C.c_int, C.c_int, C.c_char_p,
                              C.c_int]
x.XTranslateCoordinates.argtypes = [C.c_void_p, Window, Window, C.c_int, C.c_int,
                                    C.POINTER(C.c_int), C.POINTER(C.c_int),
                                    C.POINTER(Window)]


class ClientMessage(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", C.c_int), ("l", C.c_long * 5)]


class SelectionRequest(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom),
                ("time", C.c_ulong)]


class SelectionNotify(C.Structure):
    _fields_ = [("type", C.c_int), ("serial", C.c_ulong), ("send_event", C.c_int),
                ("display", C.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", C.c_ulong)]


class Event(C.Union):
    _fields_ = [("type", C.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("pad", C.c_long * 24)]


CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
target, px, py, path = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
d = x.XOpenDisplay(None)
if not d:
    sys.exit("xdnd_drop: no display")
atom = {n: x.XInternAtom(d, n.encode(), 0) for n in (
    "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
    "XdndLeave", "XdndSelection", "XdndActionCopy", "text/uri-list")}
root = x.XDefaultRootWindow(d)
source = x.XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0)
x.XSetSelectionOwner(d, atom["XdndSelection"], source, 0)
rx, ry, child = C.c_int(), C.c_int(), Window()
x.XTranslateCoordinates(d, target, root, px, py, C.byref(rx), C.byref(ry), C.byref(child))
uri = ("file://" + urllib.parse.quote(path) + "\r\n").encode()


def send(kind, *data):
    e = Event()
    e.client.type, e.client.window, e.client.format = CLIENT_MESSAGE, target, 32
    e.client.message_type = atom[kind]
    for i, v in enumerate(data):
        e.client.l[i] = v
    x.XSendEvent(d, target, 0, 0, C.byref(e))
    x.XFlush(d)


def answer(request):
    # The target asks for the dropped data: the URI list into the property it names.
    r = request.request
    n = SelectionNotify(type=SELECTION_NOTIFY, requestor=r.requestor, selection=r.selection,
                        target=r.target, property=0, time=r.time)
    if r.target == atom["text/uri-list"]:
        x.XChangeProperty(d, r.requestor, r.property, r.target, 8, 0, uri, len(uri))
        n.property = r.property
    x.XSendEvent(d, r.requestor, 0, 0, C.byref(n))
    x.XFlush(d)


def wait_for(kind, seconds=10):
    end = time.time() + seconds
    e = Event()
    while time.time() < end:
        while x.XPending(d):
            x.XNextEvent(d, C.byref(e))
            if e.type == SELECTION_REQUEST:
                answer(e)
            elif e.type == CLIENT_MESSAGE and e.client.message_type == atom[kind]:
                return e.client
        time.sleep(0.01)
    return None


send("XdndEnter", source, 5 << 24, atom["text/uri-list"], 0, 0)
send("XdndPosition", source, 0, (rx.value << 16) | ry.value, 0, atom["XdndActionCopy"])
status = wait_for("XdndStatus")
if status is None or not status.l[1] & 1:
    send("XdndLeave", source)
    sys.exit("xdnd_drop: the window refused the drop" if status else "xdnd_drop: no answer")
send("XdndDrop", source, 0, 0)
finished = wait_for("XdndFinished")
sys.exit(0 if finished is not None else "xdnd_drop: the drop did not finish")
