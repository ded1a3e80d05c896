#pragma once

#include <QString>

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or not absolute (the rule of the XDG
// Base Directory rules of freedesktop.org).
QString XdgConfigHome();
