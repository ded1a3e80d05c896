#include "toolkit/qt/compositor.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QGuiApplication>
#include <cstdlib>

bool DesktopComposites() {
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return true;
    xcb_connection_t* connection = x11->connection();
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const QByteArray name(display);
        const qsizetype dot = name.lastIndexOf('.');
        if (dot > name.lastIndexOf(':')) screen = name.mid(dot + 1).toInt();
    }
    const QByteArray atomName = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(atomName.size()),
                        atomName.constData()),
        nullptr);
    if (!atom) return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool composites = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return composites;
}
