#!/usr/bin/python3
"""A pointer for a headless wlroots compositor, which has none: clicks through the compositor's
virtual-pointer protocol (zwlr_virtual_pointer_v1), spoken directly on the Wayland socket.
    pointer.py click X Y [right]   moves to X, Y of a 1024 x 768 output and clicks there
The compositor is WAYLAND_DISPLAY (a name in XDG_RUNTIME_DIR, or a full path)."""
import os
import socket
import struct
import sys
import time

BUTTONS = {"left": 0x110, "right": 0x111}
WIDTH, HEIGHT = 1024, 768


class Connection:
    def __init__(self):
        name = os.environ["WAYLAND_DISPLAY"]
        path = name if name.startswith("/") else os.path.join(os.environ["XDG_RUNTIME_DIR"], name)
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.next_id = 2  # 1 is wl_display
        self.buffer = b""

    def new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def send(self, obj, opcode, *args):
        body = b""
        for arg in args:
            if isinstance(arg, str):
                data = arg.encode() + b"\0"
                body += struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)
            else:
                body += struct.pack("<I", arg)
        self.sock.sendall(struct.pack("<II", obj, (8 + len(body)) << 16 | opcode) + body)

    def events(self):
        """Reads what the compositor sent until the sync callback's id comes back."""
        callback = self.new_id()
        self.send(1, 0, callback)  # wl_display.sync
        while True:
            while len(self.buffer) >= 8:
                obj, size_op = struct.unpack("<II", self.buffer[:8])
                size = size_op >> 16
                if len(self.buffer) < size:
                    break
                body, self.buffer = self.buffer[8:size], self.buffer[size:]
                if obj == callback:
                    return
                yield obj, size_op & 0xFFFF, body
            chunk = self.sock.recv(65536)
            if not chunk:
                raise SystemExit("pointer: the compositor closed the connection")
            self.buffer += chunk


def main():
    if len(sys.argv) < 4 or sys.argv[1] != "click":
        raise SystemExit(__doc__)
    x, y = int(sys.argv[2]), int(sys.argv[3])
    button = BUTTONS[sys.argv[4] if len(sys.argv) > 4 else "left"]
    wl = Connection()
    registry = wl.new_id()
    wl.send(1, 1, registry)  # wl_display.get_registry
    manager = None
    for obj, opcode, body in wl.events():
        if obj != registry or opcode != 0:  # wl_registry.global
            continue
        name, length = struct.unpack("<II", body[:8])
        interface = body[8:8 + length - 1].decode()
        if interface == "zwlr_virtual_pointer_manager_v1":
            manager = wl.new_id()
            wl.send(registry, 0, name, interface, 1, manager)  # wl_registry.bind
    if manager is None:
        raise SystemExit("pointer: the compositor offers no virtual pointer")
    pointer = wl.new_id()
    wl.send(manager, 0, 0, pointer)  # create_virtual_pointer on the default seat
    stamp = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF
    wl.send(pointer, 1, stamp(), x, y, WIDTH, HEIGHT)  # motion_absolute
    wl.send(pointer, 4)  # frame
    for state in (1, 0):
        list(wl.events())
        time.sleep(0.05)
        wl.send(pointer, 2, stamp(), button, state)  # button
        wl.send(pointer, 4)
    wl.send(pointer, 8)  # destroy
    list(wl.events())


if __name__ == "__main__":
    main()
