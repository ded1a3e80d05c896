#include "base/qt/qt_shell.h"

#include <QDesktopServices>
#include <QUrl>

#include "base/qt/qt_text.h"

void QtShell::OpenAddress(std::string_view address) {
    static_cast<void>(QDesktopServices::openUrl(QUrl(FromUtf8(address))));
}
