#!/usr/bin/python3
"""Runs Orca in this process, as /usr/bin/orca does. Orca's own launcher refuses to start, or with
--replace ends, any other process named orca of the same user: the rigs of both languages may run
at once, and a user's own Orca must be left alone. No debug log: it would go with the rig's
folder, and writing it (megabytes a run) slows Orca, whose answers to keys Qt waits for.
Usage: orca_run.py"""
import sys

from orca import orca

manager = orca.getSettingsManager()
manager.activate(None, {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
