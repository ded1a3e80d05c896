#include "settings/qt/xdg_config.h"

#include <QDir>
#include <QtGlobal>

QString XdgConfigHome() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}
