#!/usr/bin/python3
"""Runs Orca in this process, as /usr/bin/orca does. Orca's own launcher refuses to start, or with
--replace ends, any other process named orca of the same user: the rigs of both languages may run
at once, and a user's own Orca must be left alone. No debug log: it would go with the rig's
folder, and writing it (megabytes a run) slows Orca, whose answers to keys Qt waits for.
Orca 43 (Debian 12) reaches its settings through orca.getSettingsManager(); Orca 48 (Debian 13)
through the settings_manager module.
Usage: orca_run.py"""
import sys

from orca import orca

try:
    from orca import settings_manager
    manager = settings_manager.get_manager()
    prefs_dir = manager.get_prefs_dir
except (ImportError, AttributeError):
    manager = orca.getSettingsManager()
    prefs_dir = manager.getPrefsDir
manager.activate(None, {})
sys.path.insert(0, prefs_dir())
sys.exit(orca.main())
