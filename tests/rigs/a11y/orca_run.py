#!/usr/bin/python3
"""Runs Orca in this process, as /usr/bin/orca does, with its debug log in DEBUG_FILE. Orca's own
launcher refuses to start, or with --replace ends, any other process named orca of the same user:
the rigs of both languages may run at once, and a user's own Orca must be left alone.
Usage: orca_run.py DEBUG_FILE"""
import sys

from orca import debug

debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], "w")

from orca import orca  # noqa: E402  (reads the debug settings above when it loads)

manager = orca.getSettingsManager()
manager.activate(None, {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
