#include "DesktopActivation.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

using namespace Qt::StringLiterals;

namespace {

#if QT_CONFIG(xcb)

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A value of the start-up notification protocol: quoted, quotes and backslashes escaped.
QByteArray Quoted(QByteArray value)
{
    return '"' + value.replace('\\', "\\\\").replace('"', "\\\"") + '"';
}

// The window manager takes the time of the launch from the id on the window, and the
// launcher ends its busy cursor on the "remove" message, which goes to the root window in
// pieces of 20 bytes, the first of its own type, the terminating NUL included.
void CompleteStartup(xcb_connection_t *connection, xcb_window_t window, const QByteArray &id)
{
    xcb_get_geometry_reply_t *geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return;
    const xcb_window_t root = geometry->root;
    std::free(geometry);

    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        Atom(connection, "_NET_STARTUP_ID"), Atom(connection, "UTF8_STRING"), 8,
                        uint32_t(id.size()), id.constData());
    const QByteArray message = "remove: ID=" + Quoted(id) + '\0';
    const xcb_atom_t first = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t next = Atom(connection, "_NET_STARTUP_INFO");
    constexpr qsizetype Piece = 20;
    for (qsizetype at = 0; at < message.size(); at += Piece) {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? first : next;
        std::memcpy(event.data.data8, message.constData() + at,
                    size_t(std::min(Piece, message.size() - at)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&event));
    }
    xcb_flush(connection);
}

#endif

} // namespace

void BringToFront(QWidget &window, const OutsideRequest &request)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
#if QT_CONFIG(xcb)
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        x11 && !request.startupId.isEmpty())
        CompleteStartup(x11->connection(), xcb_window_t(window.winId()),
                        request.startupId.toUtf8());
#endif
    if (QGuiApplication::platformName() == u"wayland"_s && !request.activationToken.isEmpty()) {
        // Qt 6.4's Wayland plugin takes the token from this variable alone, when the window
        // asks for the focus; it is gone again at once, before other threads or a page opened
        // later can find it.
        qputenv("XDG_ACTIVATION_TOKEN", request.activationToken.toUtf8());
        window.activateWindow();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        return;
    }
    window.activateWindow();
}
