#include "windowcompositing.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QRegion>

#include <xcb/xcb.h>

bool windowSystemComposites()
{
    // Wayland always composites; the offscreen platform draws into images.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return true;
    xcb_connection_t *connection = x11->connection();
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    static constexpr char name[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return true;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool composited = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return composited;
}

QRegion opaqueRegion(const QImage &image)
{
    return QRegion(QBitmap::fromImage(image.createAlphaMask(Qt::ThresholdAlphaDither)));
}
