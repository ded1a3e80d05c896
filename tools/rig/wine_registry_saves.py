#!/usr/bin/python3
"""Writes when a Wine server saved its registry: one line per file saved, the wall-clock times
(seconds since the epoch) at which the server began and ended writing it.

Every 30 s the server writes what changed of its registry, and does nothing else meanwhile: each
Wine thread's next call to it waits, up to 50 ms for a fresh prefix's 1.7 MB system.reg. A sound
stream under Wine runs dry in that time. The server writes each file under a temporary name
(regXXXX.tmp) and renames it over the old, so the two events bound the stall.

Usage: wine_registry_saves.py PREFIX OUTPUT; runs until it is killed.
"""
import ctypes
import os
import struct
import sys
import time

IN_CREATE = 0x100
IN_MOVED_TO = 0x80
EVENT = struct.Struct("iIII")


def main():
    prefix, output = sys.argv[1], sys.argv[2]
    libc = ctypes.CDLL(None, use_errno=True)
    fd = libc.inotify_init()
    if fd < 0 or libc.inotify_add_watch(fd, prefix.encode(), IN_CREATE | IN_MOVED_TO) < 0:
        sys.exit("wine_registry_saves: cannot watch %s: %s" % (prefix, os.strerror(ctypes.get_errno())))
    began = None
    with open(output, "a", buffering=1) as out:
        while True:
            data = os.read(fd, 4096)
            now = time.time()
            offset = 0
            while offset < len(data):
                _, mask, _, length = EVENT.unpack_from(data, offset)
                name = data[offset + EVENT.size:offset + EVENT.size + length].rstrip(b"\0")
                offset += EVENT.size + length
                if mask & IN_CREATE and name.startswith(b"reg") and name.endswith(b".tmp"):
                    began = now
                elif mask & IN_MOVED_TO and name.endswith(b".reg") and began is not None:
                    out.write("%.6f %.6f %s\n" % (began, now, name.decode()))
                    began = None


if __name__ == "__main__":
    main()
